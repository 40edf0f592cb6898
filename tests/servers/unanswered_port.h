// A port on 127.0.0.1 that never answers a connect: its listening socket has a full
// backlog and accepts nothing, so a connect to it ends only by the client's time-out.
#pragma once

#include <vector>

class UnansweredPort {
public:
    UnansweredPort();
    ~UnansweredPort();
    UnansweredPort(const UnansweredPort&) = delete;
    UnansweredPort& operator=(const UnansweredPort&) = delete;

    int Port() const { return port_; }

private:
    int listener_ = -1;
    std::vector<int> fillers_;
    int port_ = 0;
};
