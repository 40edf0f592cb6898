// The institution the station serves, chosen from the list of the service's web server.
#pragma once

#include "ui/institution_selection.h"

#include <QDialog>

class QComboBox;
class QLabel;
class WaitCursor;

class InstitutionSelectionDialog : public QDialog {
    Q_OBJECT
public:
    // Requests the list at once, under the wait cursor; a failure is told in a box and
    // leaves the list empty.
    InstitutionSelectionDialog(const ServiceAddress& address, const InstitutionData& current, WaitCursor& waitCursor,
                               QWidget* parent = nullptr);

    // The three texts as shown.
    const InstitutionData& Institution() const { return selection_.Shown(); }
    bool ListFailed() const { return selection_.ListFailed(); }

private:
    void Confirm(int index);
    void ShowTexts();

    InstitutionSelection selection_;
    QComboBox* names_;
    QLabel* id_;
    QLabel* name_;
    QLabel* abbreviation_;
};
