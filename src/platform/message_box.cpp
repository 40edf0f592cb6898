#include "platform/message_box.h"

#include <cstdio>

namespace {

class ConsoleMessageBoxes : public MessageBoxSeam {
public:
    int Show(const std::string& text, const std::string& caption, unsigned style) override
    {
        std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
        switch (style & 0xF) {
        case BoxStyle::Ok:
            return BoxButton::Ok;
        case BoxStyle::YesNo:
            return BoxButton::No;
        default:
            return BoxButton::Cancel;
        }
    }
};

ConsoleMessageBoxes consoleBoxes;
MessageBoxSeam* installed = nullptr;

}  // namespace

MessageBoxSeam& MessageBoxes()
{
    return installed ? *installed : consoleBoxes;
}

void InstallMessageBoxes(MessageBoxSeam* boxes)
{
    installed = boxes;
}
