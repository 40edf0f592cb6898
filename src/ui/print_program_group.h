// The group of both printer dialogs that chooses the PDF print program and its
// parameter template, with the help text on the template's parameters.
#pragma once

#include <QGroupBox>

#include <string>

class QLineEdit;
class QPlainTextEdit;

class PrintProgramGroup : public QGroupBox {
    Q_OBJECT
public:
    // withStandard adds "Standard" beside the template, which restores the default one.
    // rememberedFilter is the dialog's filter of the program file selection.
    PrintProgramGroup(const std::string& program, const std::string& params, bool withStandard,
                      int& rememberedFilter, QWidget* parent = nullptr);

    std::string Program() const;
    std::string Params() const;

private:
    void ChooseProgram();

    int& rememberedFilter_;
    QLineEdit* program_;
    QPlainTextEdit* help_;
    QLineEdit* params_;
};
