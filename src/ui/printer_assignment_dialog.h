// The printers of the Korvid mode's three document categories, and the print program.
#pragma once

#include "ui/printer_assignment.h"

#include <QDialog>

#include <vector>

class PrintProgramGroup;
class QLabel;
class QLineEdit;

class PrinterAssignmentDialog : public QDialog {
    Q_OBJECT
public:
    explicit PrinterAssignmentDialog(const PrinterAssignment& assignment, QWidget* parent = nullptr);

    // The five fields as they stand; driver and port of each category as last chosen,
    // or as they came in.
    PrinterAssignment Assignment() const;

private:
    QLineEdit* AddCategory(const char* group, const char* label, const char* name, PrinterChoice& printer);

    PrinterAssignment assignment_;
    QLineEdit* frontSheet_;
    QLineEdit* redSlips_;
    QLineEdit* delivery_;
    std::vector<QLabel*> categoryLabels_;
    PrintProgramGroup* program_;
    // The filter last chosen in this dialog's program file selection, for this run.
    static int rememberedFilter_;
};
