// The seam between the fetch policy and the places documents come from: the FTP store,
// the SFTP store and the local folder tree. A source only answers; the policy decides.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

struct SourceEntry {
    std::string name;
    long long size = 0;
    std::time_t time = 0;
    bool regular = true;  // a plain file; folders, links and devices are never fetched
};

enum class SourceKind { Store, LocalTree };

enum class DeleteOutcome {
    Deleted,
    Refused,  // a definite refusal: the document is still at its source
    Unknown,  // no reply, a lost connection, a time-out: it may or may not be gone
};

enum class ListStep { Enter, List };

class DocumentSource {
public:
    virtual ~DocumentSource() = default;

    virtual SourceKind Kind() const = 0;
    // Lists the folder; a result code (0 success) and, on failure, the step that failed.
    virtual int List(const std::string& folder, std::vector<SourceEntry>& entries, ListStep& failed) = 0;
    // The lines of the last listing that named no entry; a local folder has none.
    virtual std::vector<std::string> UnreadableLines() const { return {}; }
    // Fetches an entry of the listed folder to the local path; a result code.
    virtual int Fetch(const SourceEntry& entry, const std::string& localPath) = 0;
    // The entry's size now, or nothing when the source did not tell it. A local entry that
    // is no longer the file fetched (other identity or time) has the size -1.
    virtual std::optional<long long> SizeNow(const SourceEntry& entry) = 0;
    // Deletes the entry at the source; code is the result code of the attempt.
    virtual DeleteOutcome Delete(const SourceEntry& entry, int& code) = 0;
    // Whether the source can still be asked: false once the store's connection is lost
    // for the rest of the cycle.
    virtual bool Reachable() const { return true; }
    // Reports a failure of the source: the text of the format with the name, stored in
    // errorText, which the policy logs; the store also shows it in a box, once per cycle
    // for each format.
    virtual void Report(const char* format, const std::string& name, int code, std::string& errorText) = 0;
};
