// Message boxes as QMessageBox: no owner window, modal for the whole application, the
// icon and the buttons taken from the numeric style, button texts in German.
#pragma once

#include "platform/message_box.h"

class QtMessageBoxes : public MessageBoxSeam {
public:
    int Show(const std::string& text, const std::string& caption, unsigned style) override;
};
