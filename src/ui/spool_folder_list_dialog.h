// The spool folder list of the Tessaline mode, each folder with its printer, and the
// print program.
#pragma once

#include "ui/printer_assignment.h"
#include "ui/spool_folder_list.h"

#include <QDialog>

class PrintProgramGroup;
class QListWidget;
class QPushButton;

class SpoolFolderListDialog : public QDialog {
    Q_OBJECT
public:
    // The list is shown in the list font (LogFont).
    SpoolFolderListDialog(const SpoolFolderPrinters& printers, const QFont& listFont, QWidget* parent = nullptr);

    // The entries in the order shown, the program and the template as the fields show them.
    SpoolFolderPrinters Printers() const;

private:
    void Add();
    void Change();
    void Remove();
    void Restore();
    void Show();

    SpoolFolderList list_;
    QListWidget* lines_;
    QPushButton* change_;
    QPushButton* remove_;
    PrintProgramGroup* program_;
    // The filter last chosen in this dialog's program file selection, for this run.
    static int rememberedFilter_;
};
