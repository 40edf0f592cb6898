// The lines of a list dialog's model in its list widget.
#pragma once

#include <string>
#include <vector>

class QListWidget;

// Fills the widget with the lines and selects the given one (-1: none), without
// reporting the selection back as the user's.
void ShowListLines(QListWidget& widget, const std::vector<std::string>& lines, int selected);
