#include "app/log_list_widget.h"

#include <QHelpEvent>
#include <QScrollBar>
#include <QToolTip>

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

void LogListWidget::resizeEvent(QResizeEvent* event)
{
    const bool showsNewest = verticalScrollBar()->value() == verticalScrollBar()->maximum();
    QListWidget::resizeEvent(event);
    if (showsNewest)
        scrollToBottom();
}

bool LogListWidget::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QListWidget::viewportEvent(event);
    const QHelpEvent* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    const QRect shown = visualRect(index).intersected(viewport()->rect());
    const QString text = index.data().toString();
    // The item's text stands between two margins of the focus frame.
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    if (index.isValid() && fontMetrics().horizontalAdvance(text) + margins > shown.width())
        QToolTip::showText(help->globalPos(), text, viewport(), shown);
    else
        QToolTip::hideText();
    return true;
}
