// What the station knows while it runs, beside its settings. The flags change only
// through the named operations and guards below: a guard puts its flag back when it
// ends, so a cycle that throws still clears what it raised.
#pragma once

#include <iterator>
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

class RunState {
public:
    bool Running() const { return running_; }
    // Of the polling timer; 0 when none runs.
    unsigned TimerHandle() const { return timerHandle_; }
    // A login or base-folder error box of the fetch is open.
    bool ErrorBoxOpen() const { return errorBoxOpen_; }
    // A polling cycle has not ended yet.
    bool CycleRunning() const { return cycleRunning_; }
    // The spool tree is printed at the next cycle, fetched or not.
    bool PrintPending() const { return printPending_; }

    // From a successful Start until Stop. What an earlier run left in the spool tree is
    // printed by the first cycle.
    void Start()
    {
        running_ = true;
        printPending_ = true;
    }
    void Stop() { running_ = false; }
    void TimerSet(unsigned handle) { timerHandle_ = handle; }
    void SpoolTreePrinted() { printPending_ = false; }

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
    Guard Cycle() { return Guard(cycleRunning_); }

    FetchMemory& Fetches() { return fetches_; }

private:
    bool running_ = false;
    unsigned timerHandle_ = 0;
    bool errorBoxOpen_ = false;
    bool cycleRunning_ = false;
    bool printPending_ = false;
    FetchMemory fetches_;
};
