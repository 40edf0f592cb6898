// The buttons of the settings dialogs: "OK" and "Abbrechen", which end every one, and
// the buttons inside them. Enter presses the button that has the focus, and "OK"
// wherever else the focus is.
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

// A button with its object name, pressed by Enter while it has the focus.
QPushButton* MakeButton(const QString& text, const QString& name, QWidget* parent);
