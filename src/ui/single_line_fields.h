// The text fields of a dialog hold one line, as the settings file does: a line break
// that is pasted or dropped into one becomes a blank, and the field says so.
#pragma once

class QWidget;

// Applies to every text field of the dialog, the editable combo boxes' included; call
// once it is built.
void KeepFieldsOnOneLine(QWidget* dialog);
