// The main folders to be searched in the Tessaline mode.
#pragma once

#include "ui/main_folder_list.h"

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;
class QPushButton;

class MainFolderListDialog : public QDialog {
    Q_OBJECT
public:
    // The list is shown in the list font (LogFont).
    MainFolderListDialog(const std::vector<std::string>& folders, const QFont& listFont, QWidget* parent = nullptr);

    // The lines in the order shown.
    std::vector<std::string> Folders() const { return list_.Lines(); }

private:
    void Add();
    void Change();
    void Remove();
    void Show();

    MainFolderList list_;
    QListWidget* lines_;
    QPushButton* change_;
    QPushButton* remove_;
};
