// What every message box and modal dialog of the desktop shares: the arrow cursor over
// it while it is open, even when the station is busy behind it; the busy cursor is back
// once it closes.
#pragma once

class QDialog;

class ArrowCursorWhileOpen {
public:
    ArrowCursorWhileOpen();
    ~ArrowCursorWhileOpen();
    ArrowCursorWhileOpen(const ArrowCursorWhileOpen&) = delete;
    ArrowCursorWhileOpen& operator=(const ArrowCursorWhileOpen&) = delete;

private:
    bool pushed_;
};

// QDialog::exec with the arrow cursor.
int ExecModal(QDialog& dialog);
