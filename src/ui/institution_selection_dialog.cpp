#include "ui/institution_selection_dialog.h"

#include "ui/ok_cancel_buttons.h"
#include "ui/qt_text.h"
#include "ui/single_line_fields.h"
#include "ui/visual_tab_order.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QLabel* ReadOnlyText(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(320);
    return label;
}

}  // namespace

InstitutionSelectionDialog::InstitutionSelectionDialog(const ServiceAddress& address, const InstitutionData& current,
                                                       WaitCursor& waitCursor, QWidget* parent)
    : QDialog(parent), selection_(current), names_(new QComboBox(this)), id_(ReadOnlyText(this, "idText")),
      name_(ReadOnlyText(this, "nameText")), abbreviation_(ReadOnlyText(this, "abbreviationText"))
{
    setWindowTitle("Institution konfigurieren");
    names_->setObjectName("institutionCombo");
    // Typed text only searches the list; it never becomes an entry.
    names_->setEditable(true);
    names_->setInsertPolicy(QComboBox::NoInsert);

    auto* form = new QFormLayout;
    form->addRow("Bitte Institution auswählen:", names_);
    form->addRow("eindeutige Nummer (ID):", id_);
    form->addRow("Name:", name_);
    form->addRow("Abkürzung:", abbreviation_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(MakeOkCancelButtons(this).row);

    ShowTexts();
    selection_.Request(address, waitCursor);
    for (const std::string& name : selection_.Names())
        names_->addItem(ToQString(name));
    names_->setCurrentIndex(selection_.InitialSelection());
    connect(names_, &QComboBox::activated, this, &InstitutionSelectionDialog::Confirm);
    KeepFieldsOnOneLine(this);
    FollowVisualTabOrder(this);
}

void InstitutionSelectionDialog::Confirm(int index)
{
    selection_.Confirm(index);
    ShowTexts();
}

void InstitutionSelectionDialog::ShowTexts()
{
    id_->setText(ToQString(selection_.Shown().id));
    name_->setText(ToQString(selection_.Shown().name));
    abbreviation_->setText(ToQString(selection_.Shown().abbreviation));
}
