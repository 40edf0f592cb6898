// The institution the station serves, typed by hand: its name and ID.
#pragma once

#include "ui/institution_selection.h"

#include <QDialog>

class QLineEdit;

class InstitutionDataDialog : public QDialog {
    Q_OBJECT
public:
    explicit InstitutionDataDialog(const InstitutionData& current, QWidget* parent = nullptr);

    // Name and ID exactly as typed; the abbreviation as it came in.
    InstitutionData Institution() const;

private:
    InstitutionData current_;
    QLineEdit* name_;
    QLineEdit* id_;
};
