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

// Why a call of a source failed: its result code, the store's last words (its reply
// line, or the SFTP component's error text; nothing for the local tree), and what went
// wrong as one German line for the user (nothing for the local tree).
struct SourceError {
    int code = 0;
    std::string response;
    std::string reason{};
};

enum class SourceKind { Store, LocalTree };

enum class DeleteOutcome {
    Deleted,
    Refused,  // a definite refusal: the document is still at its source
    Unknown,  // no reply, a lost connection, a time-out: it may or may not be gone
};

class DocumentSource {
public:
    virtual ~DocumentSource() = default;

    virtual SourceKind Kind() const = 0;
    // Goes into a folder: the folder the next calls work in.
    virtual bool Enter(const std::string& folder, SourceError* error) = 0;
    // Lists the folder entered.
    virtual bool List(std::vector<SourceEntry>& entries, SourceError* error) = 0;
    // The lines of the last listing that named no entry; a local folder has none.
    virtual std::vector<std::string> UnreadableLines() const { return {}; }
    // Fetches an entry of the folder to the local path.
    virtual bool Fetch(const SourceEntry& entry, const std::string& localPath, SourceError* error) = 0;
    // The entry's size now, or nothing when the source did not tell it. A local entry that
    // is no longer the file fetched (other identity or time) has the size -1.
    virtual std::optional<long long> SizeNow(const SourceEntry& entry) = 0;
    virtual DeleteOutcome Delete(const SourceEntry& entry, SourceError* error) = 0;
    // The sizes of several entries now and their deletions, each answered as SizeNow and
    // Delete answer it; a store sends the requests of one call in one flight.
    virtual std::vector<std::optional<long long>> SizesNow(const std::vector<SourceEntry>& entries)
    {
        std::vector<std::optional<long long>> sizes;
        for (const SourceEntry& entry : entries)
            sizes.push_back(SizeNow(entry));
        return sizes;
    }
    virtual std::vector<DeleteOutcome> DeleteAll(const std::vector<SourceEntry>& entries,
                                                 std::vector<SourceError>& errors)
    {
        std::vector<DeleteOutcome> outcomes;
        errors.assign(entries.size(), {});
        for (size_t i = 0; i < entries.size(); ++i)
            outcomes.push_back(Delete(entries[i], &errors[i]));
        return outcomes;
    }
    // What the next calls will ask for, so that a store far away can start on it in the
    // flight of the calls in between: the entries fetched after the next one, in their
    // order, or the folder of the next Enter. Announced entries not fetched go with the
    // next listing. Nothing a call answers depends on it.
    virtual void FetchAhead(const std::vector<SourceEntry>&) {}
    virtual void EnterAhead(const std::string&) {}
    // Whether the source can still be asked: false once the store's connection is lost
    // for the rest of the cycle.
    virtual bool Reachable() const { return true; }
};
