#include "ui/spool_folder_entry_dialog.h"

#include "ui/ok_cancel_buttons.h"
#include "ui/printer_selection.h"
#include "ui/qt_text.h"
#include "ui/spool_folder_list.h"
#include "ui/visual_tab_order.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

SpoolFolderEntryDialog::SpoolFolderEntryDialog(const SpoolFolderEntry& entry, QWidget* parent)
    : QDialog(parent), entry_(entry), description_(new QLineEdit(ToQString(entry.Description), this)),
      folder_(new QLineEdit(ToQString(entry.Folder), this)),
      printer_(new QLineEdit(ToQString(SpoolFolderPrinterText(entry)), this))
{
    setWindowTitle("Dialog");
    description_->setObjectName("descriptionEdit");
    folder_->setObjectName("folderEdit");
    printer_->setObjectName("printerText");
    printer_->setReadOnly(true);
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
    layout->addLayout(MakeOkCancelButtons(this).row);

    connect(choose, &QPushButton::clicked, this, &SpoolFolderEntryDialog::ChoosePrinter);
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
}

SpoolFolderEntry SpoolFolderEntryDialog::Entry() const
{
    SpoolFolderEntry entry = entry_;
    entry.Description = ToStdString(description_->text());
    entry.Folder = ToStdString(folder_->text());
    return entry;
}
