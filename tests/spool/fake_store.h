// A store for tests of the fetch: its folders hold scripted documents, each answering
// as the test says, and every source it creates records its calls in one list.
#pragma once

#include "spool/store_access.h"
#include "support/test_files.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

struct FakeDocument {
    std::string bytes = "%PDF whole";
    DeleteOutcome outcome = DeleteOutcome::Deleted;
    bool goneOnUnknown = false;  // deleted, though the answer was lost
    long long grownBy = 0;       // bytes added at the source since the listing
    bool untold = false;         // the source tells no size: a listing does
};

struct FakeStoreScript {
    int loginCode = 0;
    std::map<std::string, int> enterCodes;  // by folder; missing: success
    std::map<std::string, std::map<std::string, FakeDocument>> folders;
    std::string lastResponse = "530 Login incorrect.";
    std::string protocol = "FTP";
};

class FakeStoreSource : public StoreSource {
public:
    FakeStoreSource(FakeStoreScript& script, std::vector<std::string>& calls) : script_(script), calls_(calls) {}
    ~FakeStoreSource() override { calls_.push_back("destroy"); }

    std::string ProtocolName() const override { return script_.protocol; }
    bool Open(SourceError* error) override { return Answer("open", script_.loginCode, error); }
    void Close() override { calls_.push_back("close"); }
    bool Enter(const std::string& folder, SourceError* error) override
    {
        folder_ = folder;
        auto code = script_.enterCodes.find(folder);
        return Answer("enter " + folder, code == script_.enterCodes.end() ? 0 : code->second, error);
    }
    bool List(std::vector<SourceEntry>& entries, SourceError*) override
    {
        calls_.push_back("list");
        for (const auto& [name, document] : Documents()) {
            long long grown = fetched.count(name) ? document.grownBy : 0;
            entries.push_back({name, static_cast<long long>(document.bytes.size()) + grown});
        }
        return true;
    }
    bool Fetch(const SourceEntry& entry, const std::string& path, SourceError*) override
    {
        calls_.push_back("fetch " + entry.name);
        WriteTestFile(path, Documents().at(entry.name).bytes);
        fetched.insert(entry.name);
        return true;
    }
    std::optional<long long> SizeNow(const SourceEntry& entry) override
    {
        const FakeDocument& document = Documents().at(entry.name);
        if (document.untold)
            return std::nullopt;
        return static_cast<long long>(document.bytes.size()) + document.grownBy;
    }
    DeleteOutcome Delete(const SourceEntry& entry, SourceError* error) override
    {
        FakeDocument document = Documents().at(entry.name);
        Answer("delete " + entry.name, document.outcome == DeleteOutcome::Deleted ? 0 : 10, error);
        if (document.outcome == DeleteOutcome::Deleted || document.goneOnUnknown)
            Documents().erase(entry.name);
        return document.outcome;
    }

    std::set<std::string> fetched;

private:
    std::map<std::string, FakeDocument>& Documents() { return script_.folders[folder_]; }
    bool Answer(const std::string& call, int code, SourceError* error)
    {
        calls_.push_back(call);
        if (error)
            *error = {code, script_.lastResponse};
        return code == 0;
    }

    FakeStoreScript& script_;
    std::vector<std::string>& calls_;
    std::string folder_;
};

class FakeStoreAccess : public StoreAccess {
public:
    std::unique_ptr<StoreSource> Create(const StationSettings&, StoreContext) override
    {
        calls.push_back("create");
        return std::make_unique<FakeStoreSource>(script, calls);
    }

    FakeStoreScript script;
    std::vector<std::string> calls;
};
