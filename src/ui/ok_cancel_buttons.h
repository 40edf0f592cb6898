// The "OK" and "Abbrechen" buttons that end every settings dialog.
#pragma once

class QDialog;
class QHBoxLayout;
class QPushButton;

struct OkCancelButtons {
    QHBoxLayout* row;  // the two buttons at the right
    QPushButton* ok;   // the default button, accepts
    QPushButton* cancel;
};

OkCancelButtons MakeOkCancelButtons(QDialog* dialog);
