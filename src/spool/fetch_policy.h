// The fetch of one category folder from any document source into the local spool tree.
#pragma once

#include <string>

class ActivityLog;
class DisplayFields;
class DocumentSource;
class FetchMemory;
class StoreReport;

// What the fetch of a folder works with: the log, the window's fields that show a store's
// progress, what it remembers between cycles, and the store's report (none for the local
// tree, whose failures are only logged).
struct FetchContext {
    ActivityLog& log;
    DisplayFields& display;
    FetchMemory& memory;
    StoreReport* report;
};

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
bool FetchFromSource(FetchContext& context, DocumentSource& source, const std::string& label,
                     const std::string& folder, const std::string& destination);
