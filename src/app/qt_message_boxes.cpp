#include "app/qt_message_boxes.h"

#include "ui/modal_cursor.h"

#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

namespace {

QMessageBox::Icon IconOf(unsigned style)
{
    switch (style & 0xF0) {
    case BoxStyle::IconStop:
        return QMessageBox::Critical;
    case BoxStyle::IconQuestion:
        return QMessageBox::Question;
    case BoxStyle::IconExclamation:
        return QMessageBox::Warning;
    case BoxStyle::IconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct BoxChoice {
    int button;  // BoxButton value
    const char* text;
    QMessageBox::ButtonRole role;
};

// The buttons of the style, left to right.
std::vector<BoxChoice> ChoicesOf(unsigned style)
{
    const BoxChoice ok{BoxButton::Ok, "OK", QMessageBox::AcceptRole};
    const BoxChoice cancel{BoxButton::Cancel, "Abbrechen", QMessageBox::RejectRole};
    const BoxChoice yes{BoxButton::Yes, "&Ja", QMessageBox::YesRole};
    const BoxChoice no{BoxButton::No, "&Nein", QMessageBox::NoRole};
    switch (style & 0xF) {
    case BoxStyle::OkCancel:
        return {ok, cancel};
    case BoxStyle::YesNoCancel:
        return {yes, no, cancel};
    case BoxStyle::YesNo:
        return {yes, no};
    default:
        return {ok};
    }
}

}  // namespace

int QtMessageBoxes::Show(const std::string& text, const std::string& caption, unsigned style)
{
    QMessageBox box(IconOf(style), QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::NoButton, nullptr);
    box.setWindowModality(Qt::ApplicationModal);
    std::vector<std::pair<QAbstractButton*, int>> buttons;
    const std::size_t defaultIndex = (style & BoxStyle::DefaultButton2) ? 1 : 0;
    for (const BoxChoice& choice : ChoicesOf(style)) {
        QPushButton* button = box.addButton(QString::fromUtf8(choice.text), choice.role);
        if (buttons.size() == defaultIndex)
            box.setDefaultButton(button);
        if (choice.button == BoxButton::Cancel)
            box.setEscapeButton(button);
        buttons.emplace_back(button, choice.button);
    }
    ExecModal(box);
    for (const auto& [button, value] : buttons) {
        if (box.clickedButton() == button)
            return value;
    }
    return BoxButton::Cancel;
}
