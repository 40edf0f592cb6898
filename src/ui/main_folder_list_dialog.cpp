#include "ui/main_folder_list_dialog.h"

#include "ui/input_box.h"
#include "ui/list_lines.h"
#include "ui/ok_cancel_buttons.h"
#include "ui/visual_tab_order.h"

#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>

namespace {

const char* const kTitle = "zu durchsuchende Verzeichnisse:";
const char* const kPrompt = "Bitte Verzeichnis eingeben";

}  // namespace

MainFolderListDialog::MainFolderListDialog(const std::vector<std::string>& folders, const QFont& listFont,
                                           QWidget* parent)
    : QDialog(parent), list_(folders), lines_(new QListWidget(this))
{
    setWindowTitle("zu untersuchende Verzeichnisse konfigurieren:");
    lines_->setObjectName("folderList");
    lines_->setFont(listFont);
    lines_->setMinimumSize(360, 220);

    auto* add = MakeButton("Hinzufügen ...", "addButton", this);
    change_ = MakeButton("Ändern ...", "changeButton", this);
    remove_ = MakeButton("Löschen ...", "removeButton", this);
    auto* ok = MakeButton("OK", "okButton", this);
    ok->setDefault(true);
    auto* cancel = MakeButton("Abbrechen", "cancelButton", this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lines_, 0, 0, 6, 1);
    grid->addWidget(add, 0, 1);
    grid->addWidget(change_, 1, 1);
    grid->addWidget(remove_, 2, 1);
    grid->setRowStretch(3, 1);
    grid->addWidget(ok, 4, 1);
    grid->addWidget(cancel, 5, 1);

    connect(add, &QPushButton::clicked, this, &MainFolderListDialog::Add);
    connect(change_, &QPushButton::clicked, this, &MainFolderListDialog::Change);
    connect(remove_, &QPushButton::clicked, this, &MainFolderListDialog::Remove);
    connect(lines_, &QListWidget::itemDoubleClicked, this, &MainFolderListDialog::Change);
    connect(lines_, &QListWidget::currentRowChanged, this, [this](int row) { list_.Select(row); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    Show();
    FollowVisualTabOrder(this);
}

void MainFolderListDialog::Show()
{
    ShowListLines(*lines_, list_.Lines(), list_.Selected());
    change_->setEnabled(!list_.Lines().empty());
    remove_->setEnabled(!list_.Lines().empty());
}

void MainFolderListDialog::Add()
{
    std::string text;
    if (!RunInputBox(this, kTitle, kPrompt, text, true))
        return;
    list_.Add(text);
    Show();
}

void MainFolderListDialog::Change()
{
    if (list_.Selected() < 0)
        return;
    std::string text = list_.Lines()[list_.Selected()];
    if (!RunInputBox(this, kTitle, kPrompt, text, true))
        return;
    list_.ChangeSelected(text);
    Show();
}

void MainFolderListDialog::Remove()
{
    if (list_.RemoveSelected())
        Show();
}
