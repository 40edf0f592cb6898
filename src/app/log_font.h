// LogFont: the fixed-pitch font of the activity log list and of the list dialogs.
#pragma once

#include <QFont>

#include <string>

// The family fontconfig picks for "Courier New": the font itself when the machine has
// it, else its stand-in (with fonts-liberation "Liberation Mono"). "Courier New" when
// fontconfig has no answer.
std::string LogFontFamily();

// That family at medium weight (500), sized so that its character cell (ascent plus
// descent) is at most 16 pixels high.
QFont MakeLogFont();
