// A small dialog that asks for one line of text.
#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;

class InputBox : public QDialog {
    Q_OBJECT
public:
    // The prompt reads "Frage ?" unless one is given.
    InputBox(const std::string& title, const std::string& text, bool trim, QWidget* parent = nullptr,
             const std::string& prompt = "Frage ?");

    // The edited text, without white space at either end when trimming was asked for.
    std::string Text() const;

private:
    QLabel* prompt_;
    QLineEdit* edit_;
    bool trim_;
};

// Runs the box; on "OK" the edited text replaces text and the result is true, on
// "Abbrechen" text stays as it was.
bool RunInputBox(QWidget* parent, const std::string& title, const std::string& prompt, std::string& text, bool trim);
