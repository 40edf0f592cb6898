#include "ui/spool_folder_list_dialog.h"

#include "ui/list_lines.h"
#include "ui/modal_cursor.h"
#include "ui/ok_cancel_buttons.h"
#include "ui/print_program_group.h"
#include "ui/single_line_fields.h"
#include "ui/spool_folder_entry_dialog.h"
#include "ui/visual_tab_order.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

int SpoolFolderListDialog::rememberedFilter_ = 0;

SpoolFolderListDialog::SpoolFolderListDialog(const SpoolFolderPrinters& printers, const QFont& listFont,
                                             QWidget* parent)
    : QDialog(parent), list_(printers.folders), lines_(nullptr), program_(nullptr)
{
    setWindowTitle("Konfiguration der Drucker");

    auto* group = new QGroupBox("Liste der Spool-Verzeichnisse:", this);
    lines_ = new QListWidget(group);
    lines_->setObjectName("spoolFolderList");
    lines_->setFont(listFont);
    // Room for the folder column, a description and a printer.
    lines_->setMinimumSize(QFontMetrics(listFont).horizontalAdvance(QString(60, 'M')),
                           8 * QFontMetrics(listFont).lineSpacing());
    auto* add = MakeButton("Hinzufügen ...", "addButton", group);
    change_ = MakeButton("Ändern ...", "changeButton", group);
    remove_ = MakeButton("Löschen ...", "removeButton", group);
    auto* restore = MakeButton("Standard ...", "restoreButton", group);
    auto* grid = new QGridLayout(group);
    grid->addWidget(lines_, 0, 0, 5, 1);
    grid->addWidget(add, 0, 1);
    grid->addWidget(change_, 1, 1);
    grid->addWidget(remove_, 2, 1);
    grid->addWidget(restore, 3, 1);
    grid->setRowStretch(4, 1);

    program_ = new PrintProgramGroup(printers.program, printers.params, true, rememberedFilter_, this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addWidget(program_);
    layout->addLayout(MakeOkCancelButtons(this).row);

    connect(add, &QPushButton::clicked, this, &SpoolFolderListDialog::Add);
    connect(change_, &QPushButton::clicked, this, &SpoolFolderListDialog::Change);
    connect(remove_, &QPushButton::clicked, this, &SpoolFolderListDialog::Remove);
    connect(restore, &QPushButton::clicked, this, &SpoolFolderListDialog::Restore);
    connect(lines_, &QListWidget::itemDoubleClicked, this, &SpoolFolderListDialog::Change);
    connect(lines_, &QListWidget::currentRowChanged, this, [this](int row) { list_.Select(row); });
    Show();
    KeepFieldsOnOneLine(this);
    FollowVisualTabOrder(this);
}

void SpoolFolderListDialog::Show()
{
    ShowListLines(*lines_, list_.Lines(), list_.Selected());
    change_->setEnabled(!list_.Entries().empty());
    remove_->setEnabled(!list_.Entries().empty());
}

void SpoolFolderListDialog::Add()
{
    SpoolFolderEntryDialog dialog(SpoolFolderEntry{}, list_.FoldersBesides(-1), this);
    if (ExecModal(dialog) == QDialog::Accepted && list_.Add(dialog.Entry()))
        Show();
}

void SpoolFolderListDialog::Change()
{
    if (list_.Selected() < 0)
        return;
    SpoolFolderEntryDialog dialog(list_.Entries()[list_.Selected()], list_.FoldersBesides(list_.Selected()), this);
    if (ExecModal(dialog) == QDialog::Accepted && list_.ChangeSelected(dialog.Entry()))
        Show();
}

void SpoolFolderListDialog::Remove()
{
    if (list_.RemoveSelected())
        Show();
}

void SpoolFolderListDialog::Restore()
{
    list_.Restore();
    Show();
}

SpoolFolderPrinters SpoolFolderListDialog::Printers() const
{
    return {list_.Entries(), program_->Program(), program_->Params()};
}
