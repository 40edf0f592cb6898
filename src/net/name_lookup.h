// Looking a host name up with a time-out: a resolver that does not answer cannot hold
// the caller longer than the time it was given.
#pragma once

#include <string>
#include <sys/socket.h>
#include <vector>

struct NetAddress {
    sockaddr_storage storage{};
    socklen_t length = 0;

    int Family() const { return storage.ss_family; }
    const sockaddr* Raw() const { return reinterpret_cast<const sockaddr*>(&storage); }
    // The numeric text of the address, without a port.
    std::string Text() const;
    int Port() const;
    void SetPort(int port);
};

// The stream addresses of a name or numeric address of the given family (AF_UNSPEC for
// both; IPv6 first when both are there), in the resolver's order. False when the name
// is unknown or the resolver gave no answer within the time.
bool LookUpAddresses(const std::string& host, int family, int timeoutSeconds, std::vector<NetAddress>& found);
