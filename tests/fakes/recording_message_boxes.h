// A message-box seam for tests: records every box and answers with scripted buttons.
#pragma once

#include "platform/message_box.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

struct ShownBox {
    std::string text;
    std::string caption;
    unsigned style = 0;
};

class RecordingMessageBoxes : public MessageBoxSeam {
public:
    // Installs itself for its lifetime.
    RecordingMessageBoxes() { InstallMessageBoxes(this); }
    ~RecordingMessageBoxes() override { InstallMessageBoxes(nullptr); }
    RecordingMessageBoxes(const RecordingMessageBoxes&) = delete;
    RecordingMessageBoxes& operator=(const RecordingMessageBoxes&) = delete;

    int Show(const std::string& text, const std::string& caption, unsigned style) override
    {
        boxes.push_back({text, caption, style});
        if (onShow)
            onShow();
        if (answers.empty())
            return defaultAnswer;
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<ShownBox> boxes;
    std::deque<int> answers;             // consumed in order
    int defaultAnswer = BoxButton::Ok;   // once the scripted answers are used up
    std::function<void()> onShow;  // runs while the box is "open"
};
