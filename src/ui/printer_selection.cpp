#include "ui/printer_selection.h"

#include "platform/message_box.h"
#include "ui/modal_cursor.h"
#include "ui/ok_cancel_buttons.h"
#include "ui/qt_text.h"
#include "ui/visual_tab_order.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

const char* const kTitle = "Drucker auswählen";

QLabel* DetailLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

PrinterSelectionDialog::PrinterSelectionDialog(const SystemPrinters& printers, QWidget* parent)
    : QDialog(parent), printers_(printers), names_(new QComboBox(this)), driver_(DetailLabel(this, "driverLabel")),
      port_(DetailLabel(this, "portLabel"))
{
    setWindowTitle(kTitle);
    names_->setObjectName("printerCombo");
    for (const PrinterChoice& printer : printers_.printers)
        names_->addItem(ToQString(printer.name));

    auto* group = new QGroupBox("Drucker", this);
    auto* form = new QFormLayout(group);
    form->addRow("Name:", names_);
    form->addRow("Treiber:", driver_);
    form->addRow("Anschluss:", port_);
    names_->setMinimumWidth(300);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(MakeOkCancelButtons(this).row);

    connect(names_, &QComboBox::currentIndexChanged, this, &PrinterSelectionDialog::ShowDetails);
    names_->setCurrentIndex(printers_.defaultIndex >= 0 ? printers_.defaultIndex : 0);
    ShowDetails(names_->currentIndex());
    FollowVisualTabOrder(this);
}

void PrinterSelectionDialog::ShowDetails(int index)
{
    if (index < 0 || index >= static_cast<int>(printers_.printers.size()))
        return;
    driver_->setText(ToQString(printers_.printers[index].driver));
    port_->setText(ToQString(printers_.printers[index].port));
}

PrinterChoice PrinterSelectionDialog::Chosen() const
{
    const int index = names_->currentIndex();
    if (index < 0 || index >= static_cast<int>(printers_.printers.size()))
        return {};
    return printers_.printers[index];
}

std::optional<PrinterChoice> PrinterSelection(QWidget* parent)
{
    const SystemPrinters printers = QuerySystemPrinters();
    if (printers.printers.empty()) {
        ShowMessageBox("Auf diesem Rechner ist kein Drucker eingerichtet.", kTitle,
                       BoxStyle::IconExclamation | BoxStyle::TaskModal);
        return std::nullopt;
    }
    PrinterSelectionDialog dialog(printers, parent);
    if (ExecModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.Chosen();
}
