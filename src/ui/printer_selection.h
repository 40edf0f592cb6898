// The printer selection: the printers of the system's CUPS, starting at the default
// printer; the chosen one's queue name, make and model (driver) and device URI (port).
#pragma once

#include "ui/cups_printers.h"
#include "ui/printer_choice.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;

class PrinterSelectionDialog : public QDialog {
    Q_OBJECT
public:
    // The printers must not be empty.
    PrinterSelectionDialog(const SystemPrinters& printers, QWidget* parent = nullptr);

    PrinterChoice Chosen() const;

private:
    void ShowDetails(int index);

    SystemPrinters printers_;
    QComboBox* names_;
    QLabel* driver_;
    QLabel* port_;
};

// None when cancelled; with no printer on the system it says so and gives none.
std::optional<PrinterChoice> PrinterSelection(QWidget* parent);
