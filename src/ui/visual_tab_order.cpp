#include "ui/visual_tab_order.h"

#include <QLayout>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {

bool TakesTab(const QWidget* widget)
{
    return (widget->focusPolicy() & Qt::TabFocus) != 0;
}

// The direct children in reading order: rows of widgets whose heights overlap the
// row's first, each row from left to right.
std::vector<QWidget*> InReadingOrder(QWidget* parent)
{
    std::vector<QWidget*> children;
    for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow() && child->isVisibleTo(parent))
            children.push_back(child);
    }
    std::stable_sort(children.begin(), children.end(),
                     [](const QWidget* a, const QWidget* b) { return a->geometry().top() < b->geometry().top(); });
    std::vector<QWidget*> ordered;
    for (auto row = children.begin(); row != children.end();) {
        const int rowEnd = (*row)->geometry().center().y();
        auto next =
            std::find_if(std::next(row), children.end(), [&](const QWidget* w) { return w->geometry().top() > rowEnd; });
        std::stable_sort(row, next, [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
        ordered.insert(ordered.end(), row, next);
        row = next;
    }
    return ordered;
}

// Before the dialog is first shown, only laying out each level gives its children
// their places.
void LayOut(QWidget* widget)
{
    if (widget->layout())
        widget->layout()->activate();
    for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        LayOut(child);
}

void Collect(QWidget* parent, std::vector<QWidget*>& chain)
{
    for (QWidget* child : InReadingOrder(parent)) {
        if (TakesTab(child))
            chain.push_back(child);
        else
            Collect(child, chain);
    }
}

}  // namespace

void FollowVisualTabOrder(QWidget* dialog)
{
    LayOut(dialog);
    std::vector<QWidget*> chain;
    Collect(dialog, chain);
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}
