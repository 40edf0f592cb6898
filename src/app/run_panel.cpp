#include "app/run_panel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <climits>

namespace {

QLineEdit* ReadOnlyField(const char* name, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    return field;
}

QProgressBar* ProgressBar(const char* name, QWidget* parent)
{
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(name);
    bar->setTextVisible(false);
    bar->setRange(0, 100);
    bar->setValue(0);
    return bar;
}

QPushButton* RunButton(const char* text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(name);
    // Enter presses the button that has the focus; elsewhere it ends the program (see
    // MainWindow).
    button->setAutoDefault(true);
    return button;
}

}  // namespace

RunPanel::RunPanel(QWidget* parent) : QWidget(parent)
{
    start_ = RunButton("Start", "start", this);
    stop_ = RunButton("Stopp", "stop", this);
    folder_ = ReadOnlyField("folder", this);
    file_ = ReadOnlyField("file", this);
    status_ = ReadOnlyField("status", this);
    autoStart_ = new QCheckBox(QStringLiteral("automatisch starten"), this);
    autoStart_->setObjectName("autoStart");
    folderProgress_.bar = ProgressBar("folderProgress", this);
    fileProgress_.bar = ProgressBar("fileProgress", this);
    status_->setMinimumWidth(status_->fontMetrics().horizontalAdvance(QStringLiteral("RUNNING")) * 2);

    auto label = [this](const char* text) { return new QLabel(QString::fromUtf8(text), this); };
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(start_, 0, 0);
    grid->addWidget(stop_, 1, 0);
    grid->addWidget(label("Verzeichnis:"), 0, 1);
    grid->addWidget(folder_, 0, 2);
    grid->addWidget(label("Verzeichnis-Status:"), 1, 1);
    grid->addWidget(folderProgress_.bar, 1, 2);
    grid->addWidget(label("Datei:"), 0, 3);
    grid->addWidget(file_, 0, 4);
    grid->addWidget(label("Datei-Status:"), 1, 3);
    grid->addWidget(fileProgress_.bar, 1, 4);
    grid->addWidget(label("Status:"), 0, 5);
    grid->addWidget(status_, 0, 6);
    grid->addWidget(autoStart_, 1, 5, 1, 2);
    grid->setColumnStretch(2, 3);
    grid->setColumnStretch(4, 3);
    grid->setColumnStretch(6, 1);
    grid->setColumnMinimumWidth(2, 160);
    grid->setColumnMinimumWidth(4, 160);
}

void RunPanel::SetText(QLineEdit* field, const std::string& text)
{
    field->setText(QString::fromStdString(text));
    field->setCursorPosition(0);
    field->repaint();
}

void RunPanel::SetRange(Progress& progress, std::int64_t low, std::int64_t high)
{
    high = std::max(low, high);
    progress.low = low;
    progress.step = (high - low) / INT_MAX + 1;
    // An empty range shows an empty bar, not Qt's busy indicator.
    progress.bar->setRange(0, std::max(1, static_cast<int>((high - low) / progress.step)));
}

void RunPanel::SetPosition(const Progress& progress, std::int64_t position)
{
    std::int64_t value = (position - progress.low) / progress.step;
    progress.bar->setValue(static_cast<int>(std::clamp<std::int64_t>(value, 0, progress.bar->maximum())));
}

void RunPanel::SetFolderText(const std::string& text)
{
    SetText(folder_, text);
}

void RunPanel::SetFileText(const std::string& text)
{
    SetText(file_, text);
}

void RunPanel::SetFolderProgressRange(std::int64_t low, std::int64_t high)
{
    SetRange(folderProgress_, low, high);
}

void RunPanel::SetFolderProgressPosition(std::int64_t position)
{
    SetPosition(folderProgress_, position);
}

void RunPanel::SetFileProgressRange(std::int64_t low, std::int64_t high)
{
    SetRange(fileProgress_, low, high);
}

void RunPanel::SetFileProgressPosition(std::int64_t position)
{
    SetPosition(fileProgress_, position);
}

void RunPanel::SetStatusText(const std::string& text)
{
    SetText(status_, text);
}

void RunPanel::EnableRunButtons(bool startEnabled, bool stopEnabled)
{
    start_->setEnabled(startEnabled);
    stop_->setEnabled(stopEnabled);
}
