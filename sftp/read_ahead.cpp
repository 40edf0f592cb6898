#include "read_ahead.h"

ReadAhead::ReadAhead(SftpChannel& channel, std::string handle)
    : channel_(channel), handle_(std::move(handle))
{
}

ReadAhead::~ReadAhead()
{
    for (const Request& request : inFlight_) {
        channel_.Forget(request.id);
    }
}

void ReadAhead::Ask(uint64_t offset, uint32_t length, bool first)
{
    const uint32_t id = channel_.Send(SSH_FXP_READ, Message().String(handle_).U64(offset).U32(length));
    if (first) {
        inFlight_.push_front({id, offset, length});
    } else {
        inFlight_.push_back({id, offset, length});
    }
}

void ReadAhead::Start(size_t reads)
{
    while (inFlight_.size() < reads) {
        Ask(next_, kBlockSize, false);
        next_ += kBlockSize;
    }
}

void ReadAhead::SetExpected(uint64_t size)
{
    expected_ = size;
    sizeKnown_ = true;
}

void ReadAhead::Fill()
{
    // Before the size is known, only the first flight is out. Reads are topped up in
    // batches, so that a batch goes out in one packet.
    if (!sizeKnown_ || inFlight_.size() + kBatch > kDepth) {
        return;
    }
    while (inFlight_.size() < kDepth && next_ <= expected_) {
        Ask(next_, kBlockSize, false);
        next_ += kBlockSize;
    }
}

bool ReadAhead::Next(std::string& data)
{
    data.clear();
    Fill();
    if (inFlight_.empty()) {
        // Every read up to the size was answered in full.
        return true;
    }
    const Request request = inFlight_.front();
    inFlight_.pop_front();
    Reply reply;
    if (!channel_.Wait(request.id, reply)) {
        return false;
    }
    if (reply.type != SSH_FXP_DATA) {
        // The end of the file, wherever it lies past the data handed back.
        return channel_.Status(reply) == SSH_FX_EOF;
    }
    Fields fields(reply.body);
    data = fields.String();
    if (!fields.Valid() || data.empty() || data.size() > request.length) {
        channel_.Status(reply);
        return false;
    }
    if (request.offset != delivered_) {
        // A read past the size brought data: the file grew after its size was taken.
        changed_ = true;
        return false;
    }
    delivered_ += data.size();
    const uint32_t missing = request.length - uint32_t(data.size());
    if (missing > 0 && !(sizeKnown_ && delivered_ >= expected_)) {
        // A short answer before the end: the rest of the block is asked for first.
        Ask(delivered_, missing, true);
    }
    return true;
}
