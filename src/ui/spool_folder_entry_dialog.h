// One entry of the spool folder list: description, folder name and printer.
#pragma once

#include "config/station_settings.h"

#include <QDialog>

#include <string>
#include <vector>

class QLineEdit;
class QPushButton;

class SpoolFolderEntryDialog : public QDialog {
    Q_OBJECT
public:
    // `takenFolders` are the folders of the list's other entries, which "OK" refuses.
    explicit SpoolFolderEntryDialog(const SpoolFolderEntry& entry, std::vector<std::string> takenFolders = {},
                                    QWidget* parent = nullptr);

    // Description and folder as the fields show them; the printer last chosen, with
    // the name as typed.
    SpoolFolderEntry Entry() const;

public slots:
    // A folder of another entry is told in a box and keeps the dialog open.
    void accept() override;

private:
    void ChoosePrinter();

    SpoolFolderEntry entry_;
    std::vector<std::string> takenFolders_;
    QLineEdit* description_;
    QLineEdit* folder_;
    QLineEdit* printer_;
    QPushButton* ok_;
};
