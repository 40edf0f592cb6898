// Where a new document goes in a spool folder: never over a document of the same name
// that waits there (a failed print waits for the next print pass).
#pragma once

#include <string>

// A name from a listing that may become a local file name: not empty, not "." or "..",
// without "/", "\\" and control bytes.
bool IsPlainFileName(const std::string& name);

// The longest name a folder entry may have, in bytes.
constexpr size_t kLongestFileName = 255;

// "<base><tail>", the base shortened to a whole UTF-8 character where the whole would be
// longer than a folder entry may be.
std::string FittedFileName(const std::string& base, const std::string& tail);

// The name a document gets in a spool folder: its own, or "<base>_<number><extension>",
// the extension being the text from the name's last ".": "report_2.pdf" for "report.pdf"
// and 2. No blank, which some print programs take apart, and sorted after "report.pdf",
// which came first. A name too long for a folder entry keeps its extension and loses the
// end of its base.
std::string NumberedFileName(const std::string& name, int number);

// A name that stands for a document's name where that name leaves no room for a suffix:
// "~" and a hash of the name.
std::string ShortStandIn(const std::string& name);

// Moves the file at `from` into the folder under `name`, or, when that name is taken,
// under the first free one of "<base>_2<extension>", "<base>_3<extension>", ...
// Nothing in the folder is ever replaced. The path the file got; empty when it could
// not be moved, and the file is then still at `from`.
std::string MoveToFreeName(const std::string& from, const std::string& folder, const std::string& name);

// The temporary path a document is fetched to before it gets its own name,
// "<name>.part" or, for a long name, "<stand-in>.pdf.part": it does not end in ".pdf",
// so no print pass takes it.
std::string PartialPath(const std::string& folder, const std::string& name);

// Removes the temporary files a fetch left behind that never ended (the station was
// killed in the middle of it): the regular files "<name>.pdf.part" of the folder.
void RemoveStalePartials(const std::string& folder);
