#include "app/log_list_widget.h"

#include <algorithm>

LogListWidget::LogListWidget(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

int LogListWidget::Count() const
{
    return count();
}

void LogListWidget::Append(const std::string& line)
{
    addItem(QString::fromStdString(line));
}

void LogListWidget::RemoveFirst(int count)
{
    model()->removeRows(0, std::clamp(count, 0, this->count()));
}

void LogListWidget::ShowLast()
{
    scrollToBottom();
}

void LogListWidget::RepaintNow()
{
    viewport()->repaint();
}

std::vector<std::string> LogListWidget::Lines() const
{
    std::vector<std::string> lines;
    for (int row = 0; row < count(); ++row)
        lines.push_back(item(row)->text().toStdString());
    return lines;
}
