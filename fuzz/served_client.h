// A network client of the station whose peer is the fuzz input. The raw-call slots
// hand out the input's bytes instead of a socket's and take whatever the client sends;
// no socket exists.
//
// The bytes arrive in segments of a chosen size, as TCP may split them: a receive or a
// peek returns at most the rest of the segment that has arrived. When the bytes are used
// up the peer either closes the connection (a receive gives 0) or falls silent (every
// wait runs out and a receive fails, as on a socket whose receive time-out passed).
#pragma once

#include "net/result_codes.h"
#include "net/ws_client.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <sys/socket.h>

// How the served bytes arrive: taken from the input's first byte, whose low seven bits
// plus one give the segment size and whose high bit makes the peer fall silent at the end.
struct Delivery {
    std::size_t segment = 128;
    bool silentAtEnd = false;

    static Delivery FromByte(unsigned char byte)
    {
        return {static_cast<std::size_t>(byte & 0x7F) + 1, (byte & 0x80) != 0};
    }
};

template <class Client>
class ServedClient : public Client {
public:
    ServedClient(std::string_view bytes, Delivery delivery) : bytes_(bytes), delivery_(delivery) {}
    ~ServedClient() override { this->CloseConnection(); }

    // Connects to the served peer without looking at port or host; the client's own
    // post-connect hook runs as after a real connect.
    int Connect(int, const std::string& host, int, int, int) override
    {
        if (this->IsConnected())
            return this->OnError(UTE_SOCK_ALREADY_OPEN);
        this->AdoptConnection(kServedSocket);
        int result = this->OnConnected(kServedSocket, host);
        if (result != 0)
            this->CloseConnectionSocket();
        return this->OnError(result);
    }
    // The connection without the post-connect hook.
    void Open() { this->AdoptConnection(kServedSocket); }

    // Every name is the served peer; no lookup leaves the process.
    int ResolveHost(const std::string&, std::string& address, std::size_t) override
    {
        address = "127.0.0.1";
        return this->OnError(UTE_SUCCESS);
    }

    int RawReceive(SocketHandle, char* buffer, int size, int flags) override
    {
        if (used_ == bytes_.size())
            return delivery_.silentAtEnd ? -1 : 0;
        if (used_ == arrived_)
            arrived_ = std::min(bytes_.size(), arrived_ + delivery_.segment);
        std::size_t count = std::min<std::size_t>(size > 0 ? static_cast<std::size_t>(size) : 0, arrived_ - used_);
        std::memcpy(buffer, bytes_.data() + used_, count);
        if (!(flags & MSG_PEEK))
            used_ += count;
        return static_cast<int>(count);
    }
    int RawSend(SocketHandle, const char* data, int length, int) override
    {
        sent_.append(data, static_cast<std::size_t>(std::max(length, 0)));
        return length;
    }
    bool RawDataAvailable(SocketHandle) override { return used_ < bytes_.size(); }
    int RawWaitReadable(SocketHandle, int, int) override
    {
        return used_ < bytes_.size() || !delivery_.silentAtEnd ? 0 : 1;
    }
    int RawShutdown(SocketHandle, int) override { return 0; }
    int RawClose(SocketHandle) override { return 0; }

    // What the client sent, and how many of the served bytes it has taken.
    const std::string& Sent() const { return sent_; }
    std::size_t Used() const { return used_; }

private:
    // Beyond any descriptor the process can hold, so that a call that still reaches the
    // platform fails instead of touching a real file.
    static constexpr SocketHandle kServedSocket = 1 << 28;

    std::string_view bytes_;
    Delivery delivery_;
    std::size_t used_ = 0;
    std::size_t arrived_ = 0;
    std::string sent_;
};
