// Drives the modal dialogs that a widget under test opens: the action runs on the next
// dialog of the given type that becomes the active modal window, from inside its event
// loop. The wait for it is bounded; a dialog that never opens leaves the action unrun.
// The watch ends with the action, or earlier by deleting the timer returned.
#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <QTimer>

#include <functional>
#include <memory>

template <typename Dialog>
QPointer<QTimer> OnNextModal(std::function<void(Dialog*)> action)
{
    constexpr int kTries = 3000;  // 30 seconds in steps of 10 ms
    QPointer<QWidget> outer = QApplication::activeModalWidget();
    auto tries = std::make_shared<int>(0);
    auto seen = std::make_shared<QPointer<Dialog>>();
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, seen, outer, action] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        // Seen on two ticks: by then the dialog's own event loop runs, so ending the
        // dialog ends its exec().
        if (dialog && dialog != outer && *seen != dialog) {
            *seen = dialog;
        } else if (dialog && dialog == *seen) {
            timer->stop();
            timer->deleteLater();
            action(dialog);
        } else if (++*tries > kTries) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
    return timer;
}

template <typename Widget>
Widget* Child(QWidget* parent, const char* name)
{
    return parent->findChild<Widget*>(name);
}
