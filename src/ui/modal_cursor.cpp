#include "ui/modal_cursor.h"

#include <QCursor>
#include <QDialog>
#include <QGuiApplication>

// Without a busy cursor the widgets' own cursors (the text cursor of a field) stay.
ArrowCursorWhileOpen::ArrowCursorWhileOpen()
    : pushed_(QGuiApplication::overrideCursor() != nullptr)
{
    if (pushed_)
        QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
}

ArrowCursorWhileOpen::~ArrowCursorWhileOpen()
{
    if (pushed_)
        QGuiApplication::restoreOverrideCursor();
}

int ExecModal(QDialog& dialog)
{
    ArrowCursorWhileOpen arrow;
    return dialog.exec();
}
