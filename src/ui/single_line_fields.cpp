#include "ui/single_line_fields.h"

#include "support/white_space.h"
#include "ui/qt_text.h"

#include <QLineEdit>
#include <QToolTip>

namespace {

const char* const kHint = "Zeilenumbrüche sind hier nicht möglich: sie wurden durch Leerzeichen ersetzt.";

void RemoveLineBreaks(QLineEdit* field, const QString& text)
{
    std::string single = ToStdString(text);
    if (!LineBreaksToBlanks(single))
        return;
    std::string beforeCursor = ToStdString(text.left(field->cursorPosition()));
    LineBreaksToBlanks(beforeCursor);
    field->setText(ToQString(single));
    field->setCursorPosition(static_cast<int>(ToQString(beforeCursor).size()));
    QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), kHint, field);
}

}  // namespace

void KeepFieldsOnOneLine(QWidget* dialog)
{
    for (QLineEdit* field : dialog->findChildren<QLineEdit*>())
        QObject::connect(field, &QLineEdit::textEdited, field,
                         [field](const QString& text) { RemoveLineBreaks(field, text); });
}
