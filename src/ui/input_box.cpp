#include "ui/input_box.h"

#include "support/white_space.h"
#include "ui/modal_cursor.h"
#include "ui/ok_cancel_buttons.h"
#include "ui/qt_text.h"
#include "ui/single_line_fields.h"
#include "ui/visual_tab_order.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

InputBox::InputBox(const std::string& title, const std::string& text, bool trim, QWidget* parent,
                   const std::string& prompt)
    : QDialog(parent), prompt_(new QLabel(ToQString(prompt), this)), edit_(new QLineEdit(ToQString(text), this)),
      trim_(trim)
{
    setWindowTitle(ToQString(title));
    prompt_->setObjectName("promptLabel");
    edit_->setObjectName("textEdit");
    edit_->setMinimumWidth(320);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addWidget(edit_);
    layout->addLayout(MakeOkCancelButtons(this).row);
    KeepFieldsOnOneLine(this);
    FollowVisualTabOrder(this);
}

std::string InputBox::Text() const
{
    const std::string text = ToStdString(edit_->text());
    return trim_ ? StripWhiteSpace(text) : text;
}

bool RunInputBox(QWidget* parent, const std::string& title, const std::string& prompt, std::string& text, bool trim)
{
    InputBox box(title, text, trim, parent, prompt);
    if (ExecModal(box) != QDialog::Accepted)
        return false;
    text = box.Text();
    return true;
}
