#include "spool/fetch_policy.h"

#include "net/failure_reason.h"
#include "net/result_codes.h"
#include "platform/display_fields.h"
#include "spool/activity_log.h"
#include "spool/document_source.h"
#include "spool/durable_file.h"
#include "spool/free_file_name.h"
#include "spool/held_copy.h"
#include "spool/pdf_search.h"
#include "spool/run_state.h"
#include "spool/store_error_report.h"
#include "spool/text_format.h"

#include <cstdio>
#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

namespace {

long long LocalFileSize(const std::string& path)
{
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<long long>(size);
}

// A document on its way: fetched to the temporary path, then held until its deletion.
// An empty download holds nothing: its source copy goes once it is still empty.
struct Arrival {
    SourceEntry entry;
    std::string partial;
    HeldCopy held;
    long long bytes = 0;
};

class FolderFetch {
public:
    FolderFetch(FetchContext& context, DocumentSource& source, const std::string& folder,
                const std::string& destination)
        : context_(context), source_(source), folder_(folder), destination_(destination),
          held_(destination, folder), store_(source.Kind() == SourceKind::Store)
    {
    }

    bool Run(const std::string& label)
    {
        std::vector<SourceEntry> entries;
        if (List(entries)) {
            DecideHeldCopies(entries);
            std::vector<Arrival> arrivals = FetchAll(label, entries);
            HoldDurably(arrivals);
            for (size_t first = 0; first < arrivals.size(); first += kGroup) {
                std::vector<const Arrival*> group;
                for (size_t i = first; i < std::min(first + kGroup, arrivals.size()); ++i)
                    group.push_back(&arrivals[i]);
                DeleteGroup(group, false);
            }
        }
        if (!errorText_.empty())
            context_.log.AddLogLine(errorText_);
        return arrived_;
    }

private:
    std::string Text(const char* format, const std::string& name) const
    {
        return FormatText(format, name.c_str());
    }

    // Every report of the folder reaches the log: one that a later report replaces is
    // logged first.
    void Report(const char* format, const std::string& name, const SourceError& error)
    {
        if (!errorText_.empty())
            context_.log.AddLogLine(errorText_);
        errorText_ = context_.report ? context_.report->Report(format, Text(format, name), error) : Text(format, name);
    }

    // A line that would come at every cycle while the cause stays comes once, and again
    // only after the cause went away.
    void LogOnce(const std::string& key, const std::string& line)
    {
        if (context_.memory.FirstTime(key))
            context_.log.AddLogLine(line);
    }

    bool List(std::vector<SourceEntry>& entries)
    {
        SourceError error;
        const bool entered = source_.Enter(folder_, &error);
        const std::string key = "walk " + folder_;
        if (entered && source_.List(entries, &error)) {
            context_.memory.Forget(key);
            for (const std::string& line : source_.UnreadableLines())
                context_.log.AddLogLine(
                    FormatText("Zeile '%s' im Verzeichnislisting von %s übersprungen", line.c_str(), folder_.c_str()));
            return true;
        }
        if (!store_)
            LogOnce(key, Text("konnte das Verzeichnis %s nicht lesen", folder_));
        else
            Report(entered ? "konnte kein Verzeichnislisting von  %s erstellen!"
                           : "konnte nicht zum Verzeichnis %s wechseln!",
                   folder_, error);
        return false;
    }

    // A held copy whose document the listing still shows was never deleted there: it goes,
    // and the document is fetched again. One whose document is gone is given its name.
    void DecideHeldCopies(const std::vector<SourceEntry>& entries)
    {
        std::set<std::string> listed;
        for (const SourceEntry& entry : entries)
            listed.insert(entry.name);
        for (const HeldCopy& copy : held_.Waiting()) {
            if (listed.count(copy.name))
                held_.Drop(copy);
            else if (held_.Release(copy))
                arrived_ = true;
        }
        // A document whose fetch failed and that is gone needs no later turn.
        context_.memory.KeepListedFailures(folder_, listed);
    }

    static bool Fetchable(const SourceEntry& entry)
    {
        return entry.regular && HasPdfExtension(entry.name) && IsPlainFileName(entry.name);
    }

    bool Wanted(const SourceEntry& entry)
    {
        if (!entry.regular || !HasPdfExtension(entry.name))
            return false;
        if (IsPlainFileName(entry.name))
            return true;
        // The source names the file; it must not name a place outside the folder.
        LogOnce("name " + folder_ + "/" + entry.name,
                FormatText("Datei '%s' in %s übersprungen: kein einfacher Dateiname", entry.name.c_str(),
                           folder_.c_str()));
        return false;
    }

    // The listing's order, with the documents whose fetch failed at an earlier cycle after
    // the others: no single file can hold back the rest.
    std::vector<size_t> FetchOrder(const std::vector<SourceEntry>& entries) const
    {
        std::vector<size_t> order(entries.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_partition(order.begin(), order.end(),
                              [&](size_t i) { return !context_.memory.HasFailed(folder_ + "/" + entries[i].name); });
        return order;
    }

    // Fetches the wanted entries; a failure stays with its document, and the fetch goes on
    // with the next one while the source can be reached. The store's fetch shows its
    // progress; the local one shows nothing.
    std::vector<Arrival> FetchAll(const std::string& label, const std::vector<SourceEntry>& entries)
    {
        DisplayFields& display = context_.display;
        if (store_) {
            display.SetFolderProgressRange(0, static_cast<int>(entries.size()));
            display.SetFolderText(label);
        }
        std::vector<Arrival> arrivals;
        const std::vector<size_t> order = FetchOrder(entries);
        for (size_t position = 0; position < order.size(); ++position) {
            const size_t i = order[position];
            if (store_)
                display.SetFolderProgressPosition(static_cast<int>(position));
            if (!Wanted(entries[i]))
                continue;
            if (!source_.Reachable())
                break;
            source_.FetchAhead(Following(entries, order, position));
            if (!store_) {
                FetchOne(entries[i], arrivals);
                continue;
            }
            display.SetFileProgressRange(0, static_cast<long>(entries[i].size));
            display.SetFileProgressPosition(0);
            display.SetFileText(entries[i].name);
            FetchOne(entries[i], arrivals);
            display.SetFileProgressPosition(0);
            display.SetFileText("");
        }
        if (store_) {
            display.SetFolderProgressPosition(0);
            display.SetFolderText("");
        }
        return arrivals;
    }

    // The documents fetched after the one at the position, as many as a source may start
    // on while that one arrives.
    static std::vector<SourceEntry> Following(const std::vector<SourceEntry>& entries,
                                              const std::vector<size_t>& order, size_t position)
    {
        std::vector<SourceEntry> following;
        for (size_t next = position + 1; next < order.size() && following.size() < kAhead; ++next)
            if (Fetchable(entries[order[next]]))
                following.push_back(entries[order[next]]);
        return following;
    }

    void FetchOne(const SourceEntry& entry, std::vector<Arrival>& arrivals)
    {
        Arrival arrival{entry, PartialPath(destination_, entry.name), {held_.PathOf(entry.name), entry.name}, 0};
        SourceError error;
        bool fetched = source_.Fetch(entry, arrival.partial, &error);
        arrival.bytes = fetched ? LocalFileSize(arrival.partial) : 0;
        // The listed size is what a whole download holds: a data connection that ended
        // early under a report of success leaves a shorter file.
        if (fetched && entry.size > 0 && arrival.bytes != entry.size) {
            fetched = false;
            error.code = UTE_RETR_FAILED;
        }
        const std::string key = folder_ + "/" + entry.name;
        if (!fetched) {
            std::remove(arrival.partial.c_str());
            context_.memory.FetchFailed(key);
            if (store_)
                Report("konnte die Datei %s nicht vom FTP-Lager abholen", entry.name, error);
            return;
        }
        context_.memory.Fetched(key);
        if (store_ && arrival.bytes == 0) {
            std::remove(arrival.partial.c_str());
            context_.log.AddLogLine(
                FormatText("ERROR: %s/%s: hat LÄNGE 0 ! FTP-Problem !", folder_.c_str(), entry.name.c_str()));
            arrival.partial.clear();
        } else {
            StartFileFlush(arrival.partial);
        }
        arrivals.push_back(arrival);
    }

    // Every download on disk, then under its held name, then the folder entries on disk:
    // only then may a source copy go.
    void HoldDurably(std::vector<Arrival>& arrivals)
    {
        std::vector<Arrival> held;
        bool holding = false;
        for (Arrival& arrival : arrivals) {
            if (arrival.partial.empty()) {
                held.push_back(arrival);
            } else if (FlushFile(arrival.partial) && held_.Hold(arrival.partial, arrival.entry.name)) {
                held.push_back(arrival);
                holding = true;
            } else {
                std::remove(arrival.partial.c_str());
                if (store_)
                    Report("konnte die Datei %s nicht vom FTP-Lager abholen", arrival.entry.name,
                           {UTE_FILE_ERROR, "", FailureLine(Failure::LocalFile)});
            }
        }
        arrivals.swap(held);
        if (!holding || FlushFolder(destination_))
            return;
        if (store_)
            Report("konnte die Datei %s nicht vom FTP-Lager abholen", arrivals.front().entry.name,
                   {UTE_FILE_ERROR, "", FailureLine(Failure::LocalFile)});
        std::erase_if(arrivals, [&](const Arrival& arrival) {
            if (!arrival.partial.empty())
                held_.Drop(arrival.held);
            return !arrival.partial.empty();
        });
    }

    // The sizes the source gives for the entries now: its own answers, or, where it cannot
    // tell one, the size in one fresh listing of the folder, made after the downloads and
    // before the first deletion that needs it. Nothing when neither told it; kGone when
    // the fresh listing no longer shows the entry.
    static constexpr long long kGone = -2;
    std::vector<std::optional<long long>> SizesAtSource(const std::vector<SourceEntry>& entries)
    {
        std::vector<std::optional<long long>> sizes = source_.SizesNow(entries);
        for (size_t i = 0; i < entries.size(); ++i) {
            if (sizes[i])
                continue;
            if (!freshListing_) {
                std::vector<SourceEntry> listed;
                SourceError error;
                if (!source_.List(listed, &error)) {
                    Report("konnte kein Verzeichnislisting von  %s erstellen!", folder_, error);
                    return sizes;
                }
                freshListing_.emplace();
                for (const SourceEntry& entry : listed)
                    (*freshListing_)[entry.name] = entry.size;
            }
            auto listed = freshListing_->find(entries[i].name);
            sizes[i] = listed == freshListing_->end() ? kGone : listed->second;
        }
        return sizes;
    }

    // The sizes of a group of documents are asked together and its deletions follow at
    // once, so that the size each deletion rests on is as fresh as one asked alone right
    // before it: one round trip old. An answer of unknown outcome may have taken the
    // answers of the deletions after it along: those documents are asked again, with a
    // fresh listing where the source tells no size, and one still untold waits as the
    // deletion without answer does.
    void DeleteGroup(const std::vector<const Arrival*>& group, bool answerLost)
    {
        std::vector<SourceEntry> entries;
        for (const Arrival* arrival : group)
            entries.push_back(arrival->entry);
        if (answerLost)
            freshListing_.reset();
        const std::vector<std::optional<long long>> sizes = SizesAtSource(entries);
        std::vector<const Arrival*> deleting;
        entries.clear();
        for (size_t i = 0; i < group.size(); ++i) {
            if (answerLost && !sizes[i]) {
                Deleted(*group[i], DeleteOutcome::Unknown, {UTE_NOCONNECTION, ""});
            } else if (Deletable(*group[i], sizes[i])) {
                deleting.push_back(group[i]);
                entries.push_back(group[i]->entry);
            }
        }
        if (entries.empty())
            return;
        std::vector<SourceError> errors;
        const std::vector<DeleteOutcome> outcomes = source_.DeleteAll(entries, errors);
        size_t answered = 0;
        while (answered < deleting.size()) {
            Deleted(*deleting[answered], outcomes[answered], errors[answered]);
            if (outcomes[answered++] == DeleteOutcome::Unknown)
                break;
        }
        if (answered < deleting.size())
            DeleteGroup({deleting.begin() + static_cast<long>(answered), deleting.end()}, true);
    }

    // Whether the source copy may go, given the size the source gives for it now.
    bool Deletable(const Arrival& arrival, std::optional<long long> now)
    {
        const SourceEntry& entry = arrival.entry;
        if (arrival.partial.empty()) {
            // An empty download: its source copy goes unless it has grown since (a document
            // whose upload has just begun).
            return now == 0;
        }
        if (now == kGone) {
            // Gone from the source since it was fetched whole: nothing is left to delete.
            if (held_.Release(arrival.held))
                arrived_ = true;
            return false;
        }
        if (!now) {
            // The source told no size: the document waits at its source.
            held_.Drop(arrival.held);
            return false;
        }
        if (*now != arrival.bytes) {
            // Still growing at its source: it waits whole for a later cycle.
            held_.Drop(arrival.held);
            LogOnce(GrowingKey(entry), FormatText("Datei %s/%s wird noch geschrieben: sie wartet auf die nächste Abfrage",
                                                  folder_.c_str(), entry.name.c_str()));
            return false;
        }
        return true;
    }

    std::string GrowingKey(const SourceEntry& entry) const { return "growing " + folder_ + "/" + entry.name; }

    void Deleted(const Arrival& arrival, DeleteOutcome outcome, const SourceError& error)
    {
        const SourceEntry& entry = arrival.entry;
        if (arrival.partial.empty())
            return;
        switch (outcome) {
        case DeleteOutcome::Deleted:
            context_.memory.Forget(GrowingKey(entry));
            if (held_.Release(arrival.held))
                arrived_ = true;
            return;
        case DeleteOutcome::Refused:
            // A document that stays at its source would be fetched and printed at every cycle.
            held_.Drop(arrival.held);
            if (!store_)
                context_.log.AddLogLine(Text("konnte die Datei %s nicht löschen", folder_ + "/" + entry.name));
            else
                Report("konnte die Datei %s nicht auf dem FTP-Lager löschen", entry.name, error);
            return;
        case DeleteOutcome::Unknown:
            Report("keine Antwort auf das Löschen der Datei %s auf dem FTP-Lager: "
                   "die Kopie wartet, bis die nächste Abfrage entscheidet",
                   entry.name, error);
            return;
        }
    }

    // The documents of a folder whose requests a source may have in flight beside the
    // one in hand, and the documents whose sizes and deletions go together.
    static constexpr size_t kAhead = 8;
    static constexpr size_t kGroup = 64;

    FetchContext& context_;
    DocumentSource& source_;
    const std::string folder_;
    const std::string destination_;
    const HeldCopies held_;
    const bool store_;
    std::string errorText_;
    bool arrived_ = false;
    std::optional<std::map<std::string, long long>> freshListing_;
};

}  // namespace

bool FetchFromSource(FetchContext& context, DocumentSource& source, const std::string& label,
                     const std::string& folder, const std::string& destination)
{
    return FolderFetch(context, source, folder, destination).Run(label);
}
