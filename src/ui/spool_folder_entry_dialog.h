// One entry of the spool folder list: description, folder name and printer.
#pragma once

#include "config/station_settings.h"

#include <QDialog>

class QLineEdit;

class SpoolFolderEntryDialog : public QDialog {
    Q_OBJECT
public:
    explicit SpoolFolderEntryDialog(const SpoolFolderEntry& entry, QWidget* parent = nullptr);

    // Description and folder as the fields show them, the printer last chosen.
    SpoolFolderEntry Entry() const;

private:
    void ChoosePrinter();

    SpoolFolderEntry entry_;
    QLineEdit* description_;
    QLineEdit* folder_;
    QLineEdit* printer_;
};
