#include "read_ahead.h"

#include <algorithm>

ReadAhead::ReadAhead(sftp_file file, Watchdog& watchdog, int seconds, uint64_t expected)
    : file_(file), watchdog_(watchdog), seconds_(seconds), expected_(expected)
{
}

ReadAhead::~ReadAhead()
{
    Drain();
}

bool ReadAhead::Fill()
{
    WatchdogArm arm(watchdog_, seconds_);
    while (inFlight_.size() < kDepth && next_ <= std::max(expected_, delivered_)) {
        const int id = sftp_async_read_begin(file_, kBlockSize);
        if (id < 0) {
            return false;
        }
        inFlight_.push_back({uint32_t(id), next_});
        next_ += kBlockSize;
    }
    return true;
}

ssize_t ReadAhead::Next(char* block)
{
    if (!Fill()) {
        return -1;
    }
    const Request request = inFlight_.front();
    inFlight_.pop_front();
    int count = 0;
    {
        WatchdogArm arm(watchdog_, seconds_);
        count = sftp_async_read(file_, block, kBlockSize, request.id);
    }
    if (count <= 0) {
        return count < 0 ? -1 : 0;
    }
    delivered_ = request.offset + uint64_t(count);
    if (uint32_t(count) < kBlockSize) {
        // A short block leaves a gap before the reads already asked for: they are
        // dropped and asked for again from the end of this one.
        Drain();
        next_ = delivered_;
        sftp_seek64(file_, next_);
    }
    return count;
}

void ReadAhead::Drain()
{
    char scratch[kBlockSize];
    while (!inFlight_.empty()) {
        // A read that met the end of the file answers every later one with 0 at once;
        // the seek clears that, so each answer is taken off the session.
        sftp_seek64(file_, next_);
        WatchdogArm arm(watchdog_, seconds_);
        if (watchdog_.Fired()) {
            inFlight_.clear();
            break;
        }
        sftp_async_read(file_, scratch, kBlockSize, inFlight_.front().id);
        inFlight_.pop_front();
    }
}
