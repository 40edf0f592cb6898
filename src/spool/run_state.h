// What the station knows while it runs, beside its settings. The flags change only
// through the named operations and guards below: a guard puts its flag back when it
// ends, so a cycle that throws still clears what it raised.
#pragma once

#include <iterator>
#include <list>
#include <map>
#include <optional>
#include <set>
#include <string>

// What the fetch remembers from one cycle to the next.
class FetchMemory {
public:
    // True the first time a cause is met: a line that would come at every cycle while the
    // cause stays is logged once, and again only after the cause was forgotten.
    bool FirstTime(const std::string& cause) { return causes_.insert(cause).second; }
    void Forget(const std::string& cause) { causes_.erase(cause); }

    // Documents ("<source folder>/<name>") whose fetch failed: they come after the others
    // of their folder.
    void FetchFailed(const std::string& document) { failed_.insert(document); }
    void Fetched(const std::string& document) { failed_.erase(document); }
    bool HasFailed(const std::string& document) const { return failed_.count(document) != 0; }
    // Forgets the failed documents of the folder that its listing no longer shows.
    void KeepListedFailures(const std::string& folder, const std::set<std::string>& listed)
    {
        const std::string prefix = folder + "/";
        for (auto it = failed_.lower_bound(prefix); it != failed_.end() && it->starts_with(prefix);)
            it = listed.count(it->substr(prefix.size())) ? std::next(it) : failed_.erase(it);
    }

private:
    std::set<std::string> causes_;
    std::set<std::string> failed_;
};

// The spool files whose print failed, with the code logged for each: the same failure
// again is not logged again.
class PrintMemory {
public:
    // The code logged for the file's last failure; nothing when none was.
    std::optional<int> LoggedFailure(const std::string& path) const
    {
        auto logged = failed_.find(path);
        return logged == failed_.end() ? std::nullopt : std::optional<int>(logged->second);
    }
    void PrintFailed(const std::string& path, int code) { failed_[path] = code; }
    void Printed(const std::string& path) { failed_.erase(path); }
    void Clear() { failed_.clear(); }
    // A failure is remembered while its file waits; a file of the same name that comes
    // later is a new document. Files of subfolders belong to other categories.
    void KeepWaiting(const std::string& prefix, const std::list<std::string>& paths)
    {
        std::set<std::string> waiting(paths.begin(), paths.end());
        for (auto at = failed_.lower_bound(prefix); at != failed_.end() && at->first.starts_with(prefix);) {
            bool gone = at->first.find('/', prefix.size()) == std::string::npos && !waiting.count(at->first);
            at = gone ? failed_.erase(at) : std::next(at);
        }
    }

private:
    std::map<std::string, int> failed_;
};

class RunState {
public:
    bool Running() const { return running_; }
    // Of the polling timer; 0 when none runs.
    unsigned TimerHandle() const { return timerHandle_; }
    // A login or base-folder error box of the fetch is open.
    bool ErrorBoxOpen() const { return errorBoxOpen_; }
    // A polling cycle has not ended yet.
    bool CycleRunning() const { return cycleRunning_; }
    // The running cycle ends after the document in hand.
    bool CycleEnding() const { return cycleEnding_; }
    // The program ends once no cycle runs.
    bool Ending() const { return ending_; }

    // From a successful Start until Stop. After a Start the log shows again what still
    // fails to print.
    void Start()
    {
        running_ = true;
        prints_.Clear();
    }
    // "Stopp": a running cycle ends after the document in hand.
    void Stop()
    {
        running_ = false;
        if (cycleRunning_)
            cycleEnding_ = true;
    }
    // The end of the program: the same for a running cycle.
    void End()
    {
        ending_ = true;
        if (cycleRunning_)
            cycleEnding_ = true;
    }
    void TimerSet(unsigned handle) { timerHandle_ = handle; }

    // Raises a flag for its own lifetime.
    class [[nodiscard]] Guard {
    public:
        explicit Guard(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
        ~Guard() { flag_ = before_; }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        bool& flag_;
        bool before_;
    };
    Guard ErrorBox() { return Guard(errorBoxOpen_); }
    // A cycle: it begins and ends with no end asked of it.
    class [[nodiscard]] CycleGuard {
    public:
        explicit CycleGuard(RunState& run) : run_(run), inCycle_(run.cycleRunning_) { run_.cycleEnding_ = false; }
        ~CycleGuard() { run_.cycleEnding_ = false; }
        CycleGuard(const CycleGuard&) = delete;
        CycleGuard& operator=(const CycleGuard&) = delete;

    private:
        RunState& run_;
        Guard inCycle_;
    };
    CycleGuard Cycle() { return CycleGuard(*this); }

    FetchMemory& Fetches() { return fetches_; }
    PrintMemory& Prints() { return prints_; }

private:
    bool running_ = false;
    unsigned timerHandle_ = 0;
    bool errorBoxOpen_ = false;
    bool cycleRunning_ = false;
    bool cycleEnding_ = false;
    bool ending_ = false;
    FetchMemory fetches_;
    PrintMemory prints_;
};
