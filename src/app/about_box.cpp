#include "app/about_box.h"

#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr char kStationText[] =
    "Holt die PDF-Dokumente des Lieferdienstes aus den Spool-Verzeichnissen ab und "
    "druckt sie auf dem Drucker ihrer Kategorie aus.\n"
    "Was die Station tut, steht in der Liste des Hauptfensters und in der Log-Datei.";

}  // namespace

AboutBox::AboutBox(const QIcon& icon, const std::string& aboutText, const std::string& versionText,
                   QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QString::fromStdString(aboutText));
    setWindowIcon(icon);

    auto* image = new QLabel(this);
    image->setPixmap(icon.pixmap(48, 48));
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* version = new QLabel(QString::fromStdString(versionText), this);
    version->setObjectName("version");
    auto* about = new QLabel(QString::fromUtf8(kStationText), this);
    about->setWordWrap(true);
    about->setMinimumWidth(version->sizeHint().width());
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->addWidget(image, 0, 0, 2, 1);
    grid->addWidget(version, 0, 1);
    grid->addWidget(about, 1, 1);
    grid->addWidget(ok, 2, 0, 1, 2, Qt::AlignHCenter);
    grid->setHorizontalSpacing(16);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}
