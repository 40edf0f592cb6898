#include "ui/spool_folder_entry_dialog.h"

#include "platform/message_box.h"
#include "ui/ok_cancel_buttons.h"
#include "ui/printer_selection.h"
#include "ui/qt_text.h"
#include "ui/single_line_fields.h"
#include "ui/spool_folder_list.h"
#include "ui/visual_tab_order.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

SpoolFolderEntryDialog::SpoolFolderEntryDialog(const SpoolFolderEntry& entry, std::vector<std::string> takenFolders,
                                               QWidget* parent)
    : QDialog(parent), entry_(entry), takenFolders_(std::move(takenFolders)),
      description_(new QLineEdit(ToQString(entry.Description), this)),
      folder_(new QLineEdit(ToQString(entry.Folder), this)),
      printer_(new QLineEdit(ToQString(SpoolFolderPrinterText(entry)), this))
{
    setWindowTitle("Spool-Verzeichnis und Drucker");
    description_->setObjectName("descriptionEdit");
    folder_->setObjectName("folderEdit");
    printer_->setObjectName("printerText");
    description_->setMinimumWidth(300);
    auto* choose = MakeButton("Drucker zuordnen ...", "printerButton", this);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Beschreibung:", this), 0, 0);
    grid->addWidget(description_, 0, 1);
    grid->addWidget(new QLabel("Verzeichnisname:", this), 1, 0);
    grid->addWidget(folder_, 1, 1);
    grid->addWidget(choose, 2, 0);
    grid->addWidget(printer_, 2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    const OkCancelButtons buttons = MakeOkCancelButtons(this);
    ok_ = buttons.ok;
    layout->addLayout(buttons.row);

    connect(choose, &QPushButton::clicked, this, &SpoolFolderEntryDialog::ChoosePrinter);
    KeepFieldsOnOneLine(this);
    FollowVisualTabOrder(this);
}

void SpoolFolderEntryDialog::ChoosePrinter()
{
    const std::optional<PrinterChoice> printer = PrinterSelection(this);
    if (!printer)
        return;
    entry_.PrinterName = printer->name;
    entry_.PrinterDriver = printer->driver;
    entry_.PrinterPort = printer->port;
    printer_->setText(ToQString(SpoolFolderPrinterText(entry_)));
    // The choice made, Enter confirms the entry.
    ok_->setFocus();
}

SpoolFolderEntry SpoolFolderEntryDialog::Entry() const
{
    SpoolFolderEntry entry = WithTypedPrinter(entry_, ToStdString(printer_->text()));
    entry.Description = ToStdString(description_->text());
    entry.Folder = ToStdString(folder_->text());
    return entry;
}

void SpoolFolderEntryDialog::accept()
{
    const std::string hint = DuplicateFolderHint(Entry(), takenFolders_);
    if (!hint.empty()) {
        ShowMessageBox(hint, "Verzeichnis bereits vorhanden", BoxStyle::IconExclamation | BoxStyle::TaskModal);
        folder_->setFocus();
        folder_->selectAll();
        return;
    }
    QDialog::accept();
}
