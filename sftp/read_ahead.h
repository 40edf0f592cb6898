// Keeps many reads of one remote file in flight and hands their data back in file order,
// so a store far away fills the line instead of answering one block per round trip.
// Until the file's size is known a first flight goes out; once it is known, reads go
// no further than the size, and the last one sees the end of the file or that it grew.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "sftp_channel.h"

class ReadAhead {
public:
    static constexpr uint32_t kBlockSize = 32768;
    // 4 MiB in flight: the line 20 ms away each way carries 100 MB/s.
    static constexpr size_t kDepth = 128;
    static constexpr size_t kFirstFlight = 32;
    static constexpr size_t kBatch = 16;
    // A file announced for a later download asks for less until its turn comes.
    static constexpr size_t kAnnouncedFlight = 8;

    ReadAhead(SftpChannel& channel, std::string handle);
    // The answers still on their way are dropped when they come.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Queues the first flight of reads; it goes out with the channel's next flush.
    void Start(size_t reads = kFirstFlight);
    void SetExpected(uint64_t size);
    // The next piece of the file in `data`, empty at the end of the file. False on
    // failure: the channel says why, or Changed() when the file grew while it was read.
    bool Next(std::string& data);
    bool Changed() const { return changed_; }

private:
    struct Request {
        uint32_t id;
        uint64_t offset;
        uint32_t length;
    };

    void Ask(uint64_t offset, uint32_t length, bool first);
    void Fill();

    SftpChannel& channel_;
    const std::string handle_;
    std::deque<Request> inFlight_;
    uint64_t next_ = 0;       // offset of the next read to ask for
    uint64_t delivered_ = 0;  // end of the data handed back
    uint64_t expected_ = 0;
    bool sizeKnown_ = false;
    bool changed_ = false;
};
