// Keeps several reads of one remote file in flight and hands their blocks back in file
// order, so a store far away fills the line instead of answering one block per round
// trip. Never more than one read asks past the end the caller expects: that one sees
// the end of the file, or that the file grew.
#pragma once

#include <libssh/sftp.h>

#include <cstdint>
#include <deque>
#include <sys/types.h>

#include "watchdog.h"

class ReadAhead {
public:
    static constexpr uint32_t kBlockSize = 32768;
    static constexpr size_t kDepth = 64;

    // Each wait for a block is bounded by the watchdog with the given seconds.
    ReadAhead(sftp_file file, Watchdog& watchdog, int seconds, uint64_t expected);
    // Collects the answers still on their way, so none is left behind on the session.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next block into a buffer of kBlockSize bytes: its byte count, 0 at the end of
    // the file, negative on failure (the session's error says why).
    ssize_t Next(char* block);

private:
    struct Request {
        uint32_t id;
        uint64_t offset;
    };

    bool Fill();
    void Drain();

    sftp_file file_;
    Watchdog& watchdog_;
    int seconds_;
    uint64_t expected_;
    uint64_t next_ = 0;       // offset of the next read to ask for
    uint64_t delivered_ = 0;  // end of the last block handed back
    std::deque<Request> inFlight_;
};
