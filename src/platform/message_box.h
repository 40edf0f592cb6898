// Message boxes: the one way the core asks or tells the user something.
// Styles and buttons keep the numeric values of the original desktop platform, so
// a test can assert exactly the box a user would have seen.
#pragma once

#include <string>

namespace BoxStyle {
constexpr unsigned Ok = 0x0;
constexpr unsigned OkCancel = 0x1;
constexpr unsigned YesNoCancel = 0x3;
constexpr unsigned YesNo = 0x4;
constexpr unsigned IconStop = 0x10;
constexpr unsigned IconQuestion = 0x20;
constexpr unsigned IconExclamation = 0x30;
constexpr unsigned IconInformation = 0x40;
constexpr unsigned DefaultButton2 = 0x100;  // the second button is the default
constexpr unsigned TaskModal = 0x2000;
constexpr unsigned Error = IconStop | TaskModal;  // 0x2010
}  // namespace BoxStyle

namespace BoxButton {
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Yes = 6;
constexpr int No = 7;
}  // namespace BoxButton

class MessageBoxSeam {
public:
    virtual ~MessageBoxSeam() = default;
    // Shows the box modally and returns the button pressed.
    virtual int Show(const std::string& text, const std::string& caption, unsigned style) = 0;
};

// Boxes have no owner window: they belong to the process. The desktop installs its
// implementation at start, tests install a recording fake; without one, boxes are
// written to standard error and answered as a user who only ever presses the safe
// button would (OK, or Cancel for questions).
MessageBoxSeam& MessageBoxes();
void InstallMessageBoxes(MessageBoxSeam* boxes);

inline int ShowMessageBox(const std::string& text, const std::string& caption, unsigned style)
{
    return MessageBoxes().Show(text, caption, style);
}

// A box with the task-modal bit added; caption "Frage:" when empty. An empty text
// shows nothing and answers Cancel.
inline int AskUser(const std::string& caption, const std::string& text, unsigned style)
{
    if (text.empty())
        return BoxButton::Cancel;
    return ShowMessageBox(text, caption.empty() ? "Frage:" : caption, style | BoxStyle::TaskModal);
}
