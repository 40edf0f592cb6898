// A store for tests of the fetch stage: every session records its calls in one list
// and answers with the results the test scripted.
#pragma once

#include "spool/store_access.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct FakeStoreScript {
    int loginCode = 0;
    std::map<std::string, int> baseFolderCodes;       // missing: success
    std::map<std::string, bool> fetchResults;         // by source; missing: nothing fetched
    std::string lastResponse = "530 Login incorrect.";
    bool sftp = false;
    std::function<void()> onFetch;                    // runs inside each fetch
};

class FakeStoreSession : public StoreSession {
public:
    FakeStoreSession(FakeStoreScript& script, std::vector<std::string>& calls) : script_(script), calls_(calls) {}
    ~FakeStoreSession() override { calls_.push_back("destroy"); }

    int Open() override
    {
        calls_.push_back("open");
        return script_.loginCode;
    }
    int EnterBaseFolder(const std::string& path) override
    {
        calls_.push_back("base " + path);
        auto code = script_.baseFolderCodes.find(path);
        return code == script_.baseFolderCodes.end() ? 0 : code->second;
    }
    bool FetchRemoteFolder(const std::string& label, const std::string& source,
                           const std::string& destination) override
    {
        calls_.push_back("fetch " + label + " | " + source + " -> " + destination);
        if (script_.onFetch)
            script_.onFetch();
        auto result = script_.fetchResults.find(source);
        return result != script_.fetchResults.end() && result->second;
    }
    void Close() override { calls_.push_back("close"); }
    std::string LastResponse() override { return script_.lastResponse; }
    bool IsSftp() const override { return script_.sftp; }

private:
    FakeStoreScript& script_;
    std::vector<std::string>& calls_;
};

class FakeStoreAccess : public StoreAccess {
public:
    std::unique_ptr<StoreSession> CreateSession(Station&) override
    {
        calls.push_back("create");
        return std::make_unique<FakeStoreSession>(script, calls);
    }

    FakeStoreScript script;
    std::vector<std::string> calls;
};
