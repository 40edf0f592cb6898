// The institution the station serves, typed by hand: its ID, name and abbreviation.
#pragma once

#include "ui/institution_selection.h"

#include <QDialog>

class QLineEdit;

class InstitutionDataDialog : public QDialog {
    Q_OBJECT
public:
    explicit InstitutionDataDialog(const InstitutionData& current, QWidget* parent = nullptr);

    // ID, name and abbreviation exactly as typed.
    InstitutionData Institution() const;

private:
    InstitutionData current_;
    QLineEdit* name_;
    QLineEdit* id_;
    QLineEdit* abbreviation_;
};
