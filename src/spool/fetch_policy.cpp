#include "spool/fetch_policy.h"

#include "net/result_codes.h"
#include "spool/document_source.h"
#include "spool/durable_file.h"
#include "spool/free_file_name.h"
#include "spool/held_copy.h"
#include "spool/pdf_search.h"
#include "spool/station.h"
#include "spool/text_format.h"

#include <cstdio>
#include <filesystem>
#include <set>

namespace {

long long LocalFileSize(const std::string& path)
{
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<long long>(size);
}

// A document on its way: fetched to the temporary path, then held until its deletion.
struct Arrival {
    SourceEntry entry;
    std::string partial;
    HeldCopy held;
    long long bytes = 0;
};

class FolderFetch {
public:
    FolderFetch(Station& station, DocumentSource& source, const std::string& folder, const std::string& destination)
        : station_(station), source_(source), folder_(folder), destination_(destination),
          held_(destination, folder), store_(source.Kind() == SourceKind::Store)
    {
    }

    bool Run(const std::string& label)
    {
        std::vector<SourceEntry> entries;
        if (List(entries)) {
            DecideHeldCopies(entries);
            std::vector<Arrival> arrivals = FetchAll(label, entries);
            if (HoldDurably(arrivals))
                DeleteAtSource(arrivals);
        }
        if (!errorText_.empty())
            station_.Log().AddLogLine(errorText_);
        return arrived_;
    }

private:
    std::string Text(const char* format, const std::string& name) const
    {
        return FormatText(format, name.c_str());
    }

    // A line that would come at every cycle while the cause stays comes once, and again
    // only after the cause went away.
    void LogOnce(const std::string& key, const std::string& line)
    {
        if (station_.Run().loggedOnce.insert(key).second)
            station_.Log().AddLogLine(line);
    }

    bool List(std::vector<SourceEntry>& entries)
    {
        ListStep step = ListStep::List;
        int code = source_.List(folder_, entries, step);
        const std::string key = "walk " + folder_;
        if (code == UTE_SUCCESS) {
            station_.Run().loggedOnce.erase(key);
            for (const std::string& line : source_.UnreadableLines())
                station_.Log().AddLogLine(
                    FormatText("Zeile '%s' im Verzeichnislisting von %s übersprungen", line.c_str(), folder_.c_str()));
            return true;
        }
        if (!store_)
            LogOnce(key, Text("konnte das Verzeichnis %s nicht lesen", folder_));
        else if (step == ListStep::Enter)
            source_.Report(Text("konnte nicht zum Verzeichnis %s wechseln!", folder_), code, errorText_);
        else
            source_.Report(Text("konnte kein Verzeichnislisting von  %s erstellen!", folder_), code, errorText_);
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

    // Fetches the wanted entries in the listing's order; a failure of the store ends the
    // fetch, a local file that cannot be copied whole waits alone. The store's fetch shows
    // its progress; the local one shows nothing.
    std::vector<Arrival> FetchAll(const std::string& label, const std::vector<SourceEntry>& entries)
    {
        DisplayFields& display = station_.Seams().display;
        if (store_) {
            display.SetFolderProgressRange(0, static_cast<int>(entries.size()));
            display.SetFolderText(label);
        }
        std::vector<Arrival> arrivals;
        for (size_t i = 0; i < entries.size(); ++i) {
            if (store_)
                display.SetFolderProgressPosition(static_cast<int>(i));
            if (!Wanted(entries[i]))
                continue;
            if (!store_) {
                FetchOne(entries[i], arrivals);
                continue;
            }
            display.SetFileProgressRange(0, static_cast<long>(entries[i].size));
            display.SetFileProgressPosition(0);
            display.SetFileText(entries[i].name);
            bool failed = !FetchOne(entries[i], arrivals);
            display.SetFileProgressPosition(0);
            display.SetFileText("");
            if (failed)
                break;
        }
        if (store_) {
            display.SetFolderProgressPosition(0);
            display.SetFolderText("");
        }
        return arrivals;
    }

    bool FetchOne(const SourceEntry& entry, std::vector<Arrival>& arrivals)
    {
        Arrival arrival{entry, PartialPath(destination_, entry.name), {held_.PathOf(entry.name), entry.name}, 0};
        int code = source_.Fetch(entry, arrival.partial);
        arrival.bytes = code == UTE_SUCCESS ? LocalFileSize(arrival.partial) : 0;
        if (store_ && code == UTE_SUCCESS && arrival.bytes == 0) {
            std::remove(arrival.partial.c_str());
            DeleteEmpty(entry);
            return true;
        }
        // The listed size is what a whole download holds: a data connection that ended
        // early under a report of success leaves a shorter file.
        if (code == UTE_SUCCESS && entry.size > 0 && arrival.bytes != entry.size)
            code = UTE_RETR_FAILED;
        if (code != UTE_SUCCESS) {
            std::remove(arrival.partial.c_str());
            if (store_)
                source_.Report(Text("konnte die Datei %s nicht vom FTP-Lager abholen", entry.name), code, errorText_);
            return false;
        }
        StartFileFlush(arrival.partial);
        arrivals.push_back(arrival);
        return true;
    }

    // An empty download is no document; the source's copy goes too, unless it has grown
    // since (a document whose upload has just begun).
    void DeleteEmpty(const SourceEntry& entry)
    {
        station_.Log().AddLogLine(
            FormatText("ERROR: %s/%s: hat LÄNGE 0 ! FTP-Problem !", folder_.c_str(), entry.name.c_str()));
        int code = 0;
        if (source_.SizeNow(entry).value_or(entry.size) == 0)
            source_.Delete(entry, code);
    }

    // Every download on disk, then under its held name, then the folder entries on disk:
    // only then may a source copy go.
    bool HoldDurably(std::vector<Arrival>& arrivals)
    {
        if (arrivals.empty())
            return false;
        std::vector<Arrival> held;
        for (Arrival& arrival : arrivals) {
            if (FlushFile(arrival.partial) && held_.Hold(arrival.partial, arrival.entry.name)) {
                held.push_back(arrival);
                continue;
            }
            std::remove(arrival.partial.c_str());
            if (store_)
                source_.Report(Text("konnte die Datei %s nicht vom FTP-Lager abholen", arrival.entry.name),
                               UTE_FILE_ERROR, errorText_);
        }
        arrivals.swap(held);
        if (arrivals.empty() || FlushFolder(destination_))
            return !arrivals.empty();
        for (const Arrival& arrival : arrivals)
            held_.Drop(arrival.held);
        if (store_)
            source_.Report(Text("konnte die Datei %s nicht vom FTP-Lager abholen", arrivals.front().entry.name),
                           UTE_FILE_ERROR, errorText_);
        return false;
    }

    void DeleteAtSource(const std::vector<Arrival>& arrivals)
    {
        size_t i = 0;
        while (i < arrivals.size() && DeleteOne(arrivals[i]))
            ++i;
        // A deletion that ended the fetch leaves the rest at their source: their copies go.
        for (++i; i < arrivals.size(); ++i)
            held_.Drop(arrivals[i].held);
    }

    // False when the fetch of the folder ends here.
    bool DeleteOne(const Arrival& arrival)
    {
        const SourceEntry& entry = arrival.entry;
        // A document still growing at its source waits whole for a later cycle.
        std::optional<long long> now = source_.SizeNow(entry);
        if (now && *now != arrival.bytes) {
            held_.Drop(arrival.held);
            return true;
        }
        int code = 0;
        switch (source_.Delete(entry, code)) {
        case DeleteOutcome::Deleted:
            if (held_.Release(arrival.held))
                arrived_ = true;
            return true;
        case DeleteOutcome::Refused:
            // A document that stays at its source would be fetched and printed at every cycle.
            held_.Drop(arrival.held);
            if (!store_) {
                station_.Log().AddLogLine(Text("konnte die Datei %s nicht löschen", folder_ + "/" + entry.name));
                return true;
            }
            source_.Report(Text("konnte die Datei %s nicht auf dem FTP-Lager löschen", entry.name), code,
                           errorText_);
            return false;
        case DeleteOutcome::Unknown:
            source_.Report(Text("keine Antwort auf das Löschen der Datei %s auf dem FTP-Lager: "
                                "die Kopie wartet, bis die nächste Abfrage entscheidet",
                                entry.name),
                           code, errorText_);
            return false;
        }
        return false;
    }

    Station& station_;
    DocumentSource& source_;
    const std::string folder_;
    const std::string destination_;
    const HeldCopies held_;
    const bool store_;
    std::string errorText_;
    bool arrived_ = false;
};

}  // namespace

bool IsPlainFileName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    for (unsigned char c : name)
        if (c == '/' || c == '\\' || c < 0x20 || c == 0x7f)
            return false;
    return true;
}

bool FetchFromSource(Station& station, DocumentSource& source, const std::string& label, const std::string& folder,
                     const std::string& destination)
{
    return FolderFetch(station, source, folder, destination).Run(label);
}
