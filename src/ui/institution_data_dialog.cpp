#include "ui/institution_data_dialog.h"

#include "ui/ok_cancel_buttons.h"
#include "ui/qt_text.h"
#include "ui/single_line_fields.h"
#include "ui/visual_tab_order.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

InstitutionDataDialog::InstitutionDataDialog(const InstitutionData& current, QWidget* parent)
    : QDialog(parent), current_(current), name_(new QLineEdit(ToQString(current.name), this)),
      id_(new QLineEdit(ToQString(current.id), this)), abbreviation_(new QLineEdit(ToQString(current.abbreviation), this))
{
    setWindowTitle("Daten zur Institution / Bibliothek");
    name_->setObjectName("nameEdit");
    id_->setObjectName("idEdit");
    abbreviation_->setObjectName("abbreviationEdit");
    name_->setMinimumWidth(320);
    auto* form = new QFormLayout;
    form->addRow("Name der Institution:", name_);
    form->addRow("eindeutige Nummer (ID) :", id_);
    form->addRow("Abkürzung:", abbreviation_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(MakeOkCancelButtons(this).row);
    KeepFieldsOnOneLine(this);
    FollowVisualTabOrder(this);
}

InstitutionData InstitutionDataDialog::Institution() const
{
    InstitutionData data = current_;
    data.name = ToStdString(name_->text());
    data.id = ToStdString(id_->text());
    data.abbreviation = ToStdString(abbreviation_->text());
    return data;
}
