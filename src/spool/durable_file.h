// Flushing the spool tree to disk, so that a power cut never leaves a document neither at
// its source nor in the spool tree.
#pragma once

#include <string>

// Starts writing the file's data to disk without waiting for it.
void StartFileFlush(const std::string& path);
// Waits until the file's data is on disk; false when it could not be.
bool FlushFile(const std::string& path);
// Waits until the folder's entries (names created or renamed in it) are on disk.
bool FlushFolder(const std::string& folder);
