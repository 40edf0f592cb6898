// The fetch stage's way to the remote store (FTP or SFTP). The store of one cycle is a
// document source: created, opened, used for the base and category folders, closed and
// destroyed within the stage; nothing of it survives between cycles.
#pragma once

#include "spool/document_source.h"

#include <memory>
#include <string>

class ActivityLog;
class DisplayFields;
class StoreReport;
struct StationSettings;

class StoreSource : public DocumentSource {
public:
    SourceKind Kind() const override { return SourceKind::Store; }
    // The protocol as captions name it: "FTP" or "SFTP".
    virtual std::string ProtocolName() const = 0;
    // Logs in with the store settings. After a failed log-in only the destructor runs.
    virtual bool Open(SourceError* error) = 0;
    // Logs out; the result does not matter.
    virtual void Close() = 0;
};

// What the store of a cycle reaches: the log, the window's fields that show a download's
// progress, and the cycle's report, which tells of a failed new log-in.
struct StoreContext {
    ActivityLog& log;
    DisplayFields& display;
    StoreReport& report;
};

class StoreAccess {
public:
    virtual ~StoreAccess() = default;
    // The store of the settings, not yet opened.
    virtual std::unique_ptr<StoreSource> Create(const StationSettings& settings, StoreContext context) = 0;
};
