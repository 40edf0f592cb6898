// The spool folder list of the Tessaline mode as its dialog edits it: one line per
// entry, kept in line order without regard to case, one line selected.
#pragma once

#include "config/station_settings.h"

#include <string>
#include <vector>

// The entries the list starts with when the stored list is empty: DELV, then FRONTSH.
std::vector<SpoolFolderEntry> DefaultSpoolFolders();
// Folder padded to 25 characters, description, then "[printer (port)]" when a printer
// is set; a longer folder name is not cut.
std::string SpoolFolderListLine(const SpoolFolderEntry& entry);
// The printer name followed by " (port)" when a port is set.
std::string SpoolFolderPrinterText(const SpoolFolderEntry& entry);
// The entry with white space stripped from both ends of all five texts.
SpoolFolderEntry StrippedEntry(const SpoolFolderEntry& entry);
// The entry with the text typed into its printer field: the name, without the port
// part that the field shows after it; driver and port stay as they were.
SpoolFolderEntry WithTypedPrinter(SpoolFolderEntry entry, const std::string& text);
// Why the entry cannot join a list whose other entries have the folders `taken`: its
// folder, stripped, is one of them. Empty when it can.
std::string DuplicateFolderHint(const SpoolFolderEntry& entry, const std::vector<std::string>& taken);

class SpoolFolderList {
public:
    // The stored list, or the default entries when it is empty, becomes the starting list;
    // an entry without a folder name is left out.
    explicit SpoolFolderList(const std::vector<SpoolFolderEntry>& stored);

    // In the order shown.
    const std::vector<SpoolFolderEntry>& Entries() const { return entries_; }
    std::vector<std::string> Lines() const;
    // -1 when no line is selected.
    int Selected() const { return selected_; }
    void Select(int row);
    // The folders of all entries but the one in `row` (-1: of all).
    std::vector<std::string> FoldersBesides(int row) const;

    // Adds the stripped entry at its place and selects it; nothing happens when its
    // folder is empty or already in the list. True when added.
    bool Add(const SpoolFolderEntry& entry);
    // The selected entry takes the stripped texts and moves to its place; the selection
    // stays at the row it was. Nothing happens when no line is selected or the folder
    // is empty or another entry's. True when changed.
    bool ChangeSelected(const SpoolFolderEntry& entry);
    // Asks the user; on Yes the selected entry goes and the first line is selected.
    bool RemoveSelected();
    // Back to the starting list, dropping every change.
    void Restore();

private:
    int Insert(const SpoolFolderEntry& entry);

    std::vector<SpoolFolderEntry> starting_;
    std::vector<SpoolFolderEntry> entries_;
    int selected_ = -1;
};
