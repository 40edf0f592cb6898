#include "ui/print_program_group.h"

#include "config/station_settings.h"
#include "ui/file_filter.h"
#include "ui/file_pickers.h"
#include "ui/ok_cancel_buttons.h"
#include "ui/printer_assignment.h"
#include "ui/qt_text.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

PrintProgramGroup::PrintProgramGroup(const std::string& program, const std::string& params, bool withStandard,
                                     int& rememberedFilter, QWidget* parent)
    : QGroupBox("Auswahl des PDF-Ausgabeprogrammes:", parent), rememberedFilter_(rememberedFilter),
      program_(new QLineEdit(ToQString(program), this)), help_(new QPlainTextEdit(this)),
      params_(new QLineEdit(ToQString(params), this))
{
    program_->setObjectName("programEdit");
    params_->setObjectName("paramsEdit");
    help_->setObjectName("helpText");
    help_->setReadOnly(true);
    help_->setPlainText(ToQString(PrintProgramHelpText()));
    help_->setTabStopDistance(8 * help_->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    help_->setMinimumHeight(10 * help_->fontMetrics().lineSpacing());
    help_->setMinimumWidth(help_->fontMetrics().horizontalAdvance(QString(90, 'x')));

    auto* choose = MakeButton("Auswahl", "programButton", this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel("PDF-Druck-Programm:", this), 0, 0);
    grid->addWidget(program_, 0, 1);
    grid->addWidget(choose, 0, 2);
    grid->addWidget(help_, 1, 0, 1, 3);
    grid->addWidget(new QLabel("Parameter:", this), 2, 0);
    grid->addWidget(params_, 2, 1, 1, withStandard ? 1 : 2);
    if (withStandard) {
        auto* standard = MakeButton("Standard", "paramsStandardButton", this);
        grid->addWidget(standard, 2, 2);
        connect(standard, &QPushButton::clicked, this, [this] { params_->setText(kDefaultPrintParams); });
    }
    connect(choose, &QPushButton::clicked, this, &PrintProgramGroup::ChooseProgram);
}

void PrintProgramGroup::ChooseProgram()
{
    const std::optional<std::string> path = ProgramFileSelection(
        this, "Auswahl des PDF-Druck-Programmes (z.B. installierter AcrobatReader oder Ghostscript",
        kProgramFileFilter, rememberedFilter_);
    if (path)
        program_->setText(ToQString(*path));
}

std::string PrintProgramGroup::Program() const
{
    return ToStdString(program_->text());
}

std::string PrintProgramGroup::Params() const
{
    return ToStdString(params_->text());
}
