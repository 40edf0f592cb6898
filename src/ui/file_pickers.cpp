#include "ui/file_pickers.h"

#include "ui/file_filter.h"
#include "ui/picked_paths.h"
#include "ui/qt_text.h"

#include <QFileDialog>
#include <QFileInfo>

std::optional<std::string> BrowseForFolder(QWidget* parent, const std::string& title, const std::string& start)
{
    QFileDialog dialog(parent, ToQString(title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (!start.empty() && QFileInfo(ToQString(start)).isDir())
        dialog.setDirectory(ToQString(start));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ToStdString(dialog.selectedFiles().first());
}

std::optional<std::string> ChooseLogFile(QWidget* parent, const std::string& current)
{
    QFileDialog dialog(parent, "Name der zu verwendenen Log-Datei:");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter("LOG-Dateien (*.log)");
    // Appended before the dialog asks about an existing file, so it asks about that one.
    dialog.setDefaultSuffix("log");
    const QFileInfo file(ToQString(current));
    if (!current.empty()) {
        dialog.setDirectory(file.absolutePath());
        dialog.selectFile(file.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return PickedLogFile(ToStdString(dialog.selectedFiles().first()));
}

std::optional<std::string> ProgramFileSelection(QWidget* parent, const std::string& title,
                                                const std::string& filter, int& rememberedFilter)
{
    QStringList nameFilters;
    for (const FileFilter& entry : ParseFileFilter(filter))
        nameFilters << ToQString(NameFilterText(entry));

    QFileDialog dialog(parent, ToQString(title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters);
    if (rememberedFilter >= 0 && rememberedFilter < nameFilters.size())
        dialog.selectNameFilter(nameFilters[rememberedFilter]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const qsizetype chosen = nameFilters.indexOf(dialog.selectedNameFilter());
    if (chosen >= 0)
        rememberedFilter = static_cast<int>(chosen);
    return ToStdString(dialog.selectedFiles().first());
}
