// The fetch of one category folder in the local mode: the PDF files move from the local
// source tree into the spool tree.
#pragma once

#include <string>

class ActivityLog;

// Copies each PDF file of the source folder into the destination folder and deletes the
// source once its copy is complete. A document of the same name waiting in the
// destination is kept: the copy gets the next free name, "<base>_2.pdf", "_3", ...
// A copy is made under a name that does not end in ".pdf" and renamed when it is whole,
// so no print pass sees half a document. A source that could not be copied whole, or
// that changed while it was copied, stays for the next cycle; a source that cannot be
// deleted has its copy removed again and is logged. True when at least one file moved.
bool MoveLocalFolder(ActivityLog& log, const std::string& source, const std::string& destination);
