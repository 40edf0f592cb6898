#include "ui/list_lines.h"

#include "ui/qt_text.h"

#include <QListWidget>
#include <QSignalBlocker>

void ShowListLines(QListWidget& widget, const std::vector<std::string>& lines, int selected)
{
    const QSignalBlocker quiet(&widget);
    widget.clear();
    for (const std::string& line : lines)
        widget.addItem(ToQString(line));
    widget.setCurrentRow(selected);
}
