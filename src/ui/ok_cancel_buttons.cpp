#include "ui/ok_cancel_buttons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

OkCancelButtons MakeOkCancelButtons(QDialog* dialog)
{
    OkCancelButtons buttons{new QHBoxLayout, new QPushButton("OK", dialog), new QPushButton("Abbrechen", dialog)};
    buttons.ok->setObjectName("okButton");
    buttons.cancel->setObjectName("cancelButton");
    buttons.ok->setDefault(true);
    buttons.cancel->setAutoDefault(true);
    buttons.row->addStretch();
    buttons.row->addWidget(buttons.ok);
    buttons.row->addWidget(buttons.cancel);
    QObject::connect(buttons.ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(buttons.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return buttons;
}

QPushButton* MakeButton(const QString& text, const QString& name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(true);
    return button;
}
