// The stand-in SFTP component seen from a test: its call log and its failing switch.
#pragma once

#include <dlfcn.h>

#include <string>

// Holds its own reference to a stub component, so that the call log survives the
// bindings that load and unload it, and reads that log.
class StubComponent {
public:
    explicit StubComponent(const std::string& folder)
    {
        library_ = dlopen((folder + "/psftp_dll.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        if (library_ != nullptr) {
            callLog_ = reinterpret_cast<const char* (*)()>(dlsym(library_, "stub_call_log"));
            clearLog_ = reinterpret_cast<void (*)()>(dlsym(library_, "stub_clear_log"));
            setFailing_ = reinterpret_cast<void (*)(int)>(dlsym(library_, "stub_set_failing"));
        }
        if (Usable()) {
            clearLog_();
            setFailing_(0);
        }
    }
    ~StubComponent()
    {
        if (library_ != nullptr) {
            dlclose(library_);
        }
    }
    bool Usable() const { return callLog_ != nullptr && clearLog_ != nullptr && setFailing_ != nullptr; }
    // The calls since the last look, one per line.
    std::string TakeCalls()
    {
        std::string calls = callLog_();
        clearLog_();
        return calls;
    }
    void SetFailing(bool on) { setFailing_(on ? 1 : 0); }

private:
    void* library_ = nullptr;
    const char* (*callLog_)() = nullptr;
    void (*clearLog_)() = nullptr;
    void (*setFailing_)(int) = nullptr;
};
