// The buttons of the settings dialogs: "OK" and "Abbrechen", which end every one, and
// the buttons inside them, which never take the Return key from "OK".
#pragma once

class QDialog;
class QHBoxLayout;
class QPushButton;
class QString;
class QWidget;

struct OkCancelButtons {
    QHBoxLayout* row;  // the two buttons at the right
    QPushButton* ok;   // the default button, accepts
    QPushButton* cancel;
};

OkCancelButtons MakeOkCancelButtons(QDialog* dialog);

// A button with its object name that Return never presses.
QPushButton* MakeButton(const QString& text, const QString& name, QWidget* parent);
