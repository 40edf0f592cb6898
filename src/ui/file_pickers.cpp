#include "ui/file_pickers.h"

#include "platform/message_box.h"
#include "ui/file_filter.h"
#include "ui/modal_cursor.h"
#include "ui/picked_paths.h"
#include "ui/qt_text.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace {

// Qt's file model writes the modification dates in the system's locale, which need not
// be German; the pickers show them as the rest of the station speaks.
class GermanDates : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        constexpr int kDateColumn = 3;
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || index.column() != kDateColumn || !files)
            return QIdentityProxyModel::data(index, role);
        return QLocale(QLocale::German, QLocale::Germany)
            .toString(files->lastModified(mapToSource(index)), QLocale::ShortFormat);
    }
};

// Qt's own dialog, the same on every desktop, with German dates.
void UseOwnDialog(QFileDialog& dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new GermanDates(&dialog));
}

// A save-as dialog that keeps itself open while the chosen folder does not exist.
class ExistingFolderSaveDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        const QStringList files = selectedFiles();
        const QString folder = files.isEmpty() ? QString() : QFileInfo(files.first()).absolutePath();
        if (!files.isEmpty() && !QFileInfo(folder).isDir()) {
            ShowMessageBox("Das Verzeichnis\n\n" + ToStdString(folder) + "\n\nexistiert nicht.",
                           ToStdString(windowTitle()), BoxStyle::IconExclamation | BoxStyle::TaskModal);
            return;
        }
        QFileDialog::accept();
    }
};

}  // namespace

std::optional<std::string> BrowseForFolder(QWidget* parent, const std::string& title, const std::string& start)
{
    QFileDialog dialog(parent, ToQString(title));
    UseOwnDialog(dialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (!start.empty() && QFileInfo(ToQString(start)).isDir())
        dialog.setDirectory(ToQString(start));
    if (ExecModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ToStdString(dialog.selectedFiles().first());
}

std::optional<std::string> ChooseLogFile(QWidget* parent, const std::string& current)
{
    ExistingFolderSaveDialog dialog(parent, "Name der zu verwendenen Log-Datei:");
    UseOwnDialog(dialog);
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
    if (ExecModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
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
    UseOwnDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters);
    if (rememberedFilter >= 0 && rememberedFilter < nameFilters.size())
        dialog.selectNameFilter(nameFilters[rememberedFilter]);
    if (ExecModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const qsizetype chosen = nameFilters.indexOf(dialog.selectedNameFilter());
    if (chosen >= 0)
        rememberedFilter = static_cast<int>(chosen);
    return ToStdString(dialog.selectedFiles().first());
}
