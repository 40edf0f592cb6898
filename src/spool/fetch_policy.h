// The fetch of one category folder from any document source into the local spool tree.
#pragma once

#include <string>

class DocumentSource;
class Station;

// Lists the source folder and takes its PDF files into the destination folder so that a
// document is never lost, printed half or printed twice:
// - each is fetched under a temporary name that does not end in ".pdf" and must have the
//   size the listing gave (an empty one is logged and deleted at its source once it is
//   still empty);
// - the folder's downloads are flushed to disk and renamed to held names that are never
//   printed, and the folder entries flushed, before any deletion is sent;
// - the source's size of a document is asked once more right before its deletion (where
//   the source cannot tell it, one fresh listing of the folder tells it) and must equal
//   what was fetched, else the copy goes, the document waits and that is logged once;
// - a deletion done gives the copy its own name (or the next free one); a refused one
//   removes the copy and is reported; one of unknown outcome keeps the held copy, and the
//   next listing of the folder decides: still at the source, the held copy goes; gone,
//   it is printed.
// A failure stays with its document: the fetch goes on with the next one, and a document
// whose fetch failed comes after the others of its folder at the following cycles. A name
// that is no plain file name is skipped and logged once. True when a document arrived.
bool FetchFromSource(Station& station, DocumentSource& source, const std::string& label,
                     const std::string& folder, const std::string& destination);

// A name from a listing that may become a local file name: not empty, not "." or "..",
// without "/", "\\" and control bytes.
bool IsPlainFileName(const std::string& name);
