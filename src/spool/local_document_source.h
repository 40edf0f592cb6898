// The local folder tree as a document source. Only regular files are taken, never
// through a symbolic link; a copy is read from the very file that was checked, and a
// source counts as unchanged only while it keeps the size, time and identity it had
// when its copy began.
#pragma once

#include "spool/document_source.h"

#include <map>
#include <sys/stat.h>

class LocalDocumentSource : public DocumentSource {
public:
    SourceKind Kind() const override { return SourceKind::LocalTree; }
    bool Enter(const std::string& folder, SourceError* error) override;
    // A folder that does not exist lists empty; one that cannot be read fails.
    bool List(std::vector<SourceEntry>& entries, SourceError* error) override;
    bool Fetch(const SourceEntry& entry, const std::string& localPath, SourceError* error) override;
    std::optional<long long> SizeNow(const SourceEntry& entry) override;
    DeleteOutcome Delete(const SourceEntry& entry, SourceError* error) override;

private:
    std::string Path(const SourceEntry& entry) const { return folder_ + "/" + entry.name; }

    std::string folder_;
    // The state of each source when its copy began.
    std::map<std::string, struct stat> fetched_;
};
