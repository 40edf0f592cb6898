#include "ui/printer_assignment_dialog.h"

#include "ui/ok_cancel_buttons.h"
#include "ui/print_program_group.h"
#include "ui/printer_selection.h"
#include "ui/qt_text.h"
#include "ui/single_line_fields.h"
#include "ui/visual_tab_order.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

int PrinterAssignmentDialog::rememberedFilter_ = 0;

PrinterAssignmentDialog::PrinterAssignmentDialog(const PrinterAssignment& assignment, QWidget* parent)
    : QDialog(parent), assignment_(assignment)
{
    setWindowTitle("Konfiguration der Drucker");
    auto* layout = new QVBoxLayout(this);
    frontSheet_ = AddCategory("Drucker für Deckblätter:", "zugeordneter Drucker (Deckblätter):", "frontSheet",
                              assignment_.frontSheet);
    redSlips_ = AddCategory("Drucker für rote Leihscheine:", "zugeordneter Drucker (RL):", "redSlips",
                            assignment_.redSlips);
    delivery_ = AddCategory("Drucker für Auslieferungen:", "zugeordneter Drucker (Lieferungen):", "delivery",
                            assignment_.delivery);
    // The three printer fields start at the same place.
    int labelWidth = 0;
    for (QLabel* label : categoryLabels_)
        labelWidth = std::max(labelWidth, label->sizeHint().width());
    for (QLabel* label : categoryLabels_)
        label->setMinimumWidth(labelWidth);
    program_ = new PrintProgramGroup(assignment_.program, assignment_.params, false, rememberedFilter_, this);
    layout->addWidget(program_);
    layout->addLayout(MakeOkCancelButtons(this).row);
    KeepFieldsOnOneLine(this);
    FollowVisualTabOrder(this);
}

QLineEdit* PrinterAssignmentDialog::AddCategory(const char* group, const char* label, const char* name,
                                                PrinterChoice& printer)
{
    auto* box = new QGroupBox(group, this);
    auto* edit = new QLineEdit(ToQString(printer.name), box);
    edit->setObjectName(QString(name) + "Edit");
    auto* choose = MakeButton("Auswahl ...", QString(name) + "Button", box);
    auto* row = new QHBoxLayout(box);
    categoryLabels_.push_back(new QLabel(label, box));
    row->addWidget(categoryLabels_.back());
    row->addWidget(edit, 1);
    row->addWidget(choose);
    static_cast<QVBoxLayout*>(layout())->addWidget(box);

    // Only a chosen printer changes driver and port; typing changes the name alone.
    connect(choose, &QPushButton::clicked, this, [this, edit, &printer] {
        const std::optional<PrinterChoice> chosen = PrinterSelection(this);
        if (!chosen)
            return;
        printer = *chosen;
        edit->setText(ToQString(chosen->name));
        // The choice made, Enter confirms the dialog.
        edit->setFocus();
    });
    return edit;
}

PrinterAssignment PrinterAssignmentDialog::Assignment() const
{
    PrinterAssignment assignment = assignment_;
    assignment.frontSheet.name = ToStdString(frontSheet_->text());
    assignment.redSlips.name = ToStdString(redSlips_->text());
    assignment.delivery.name = ToStdString(delivery_->text());
    assignment.program = program_->Program();
    assignment.params = program_->Params();
    return assignment;
}
