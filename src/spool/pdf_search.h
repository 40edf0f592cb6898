// The search for the PDF files of a folder.
#pragma once

#include <string>
#include <vector>

// True when the name ends in ".pdf", without regard to case.
bool HasPdfExtension(const std::string& name);

// The names of the regular files in the folder whose names end in ".pdf", without
// regard to case, in the order the folder lists them. A folder that cannot be read
// has none.
std::vector<std::string> FindPdfFiles(const std::string& folder);
