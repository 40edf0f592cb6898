#include "net/name_lookup.h"

#include "platform/keep_alive.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <thread>

namespace {

// What a look-up thread hands back; it outlives a caller that stopped waiting.
struct Lookup {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::vector<NetAddress> found;
};

std::vector<NetAddress> Collect(const addrinfo* list)
{
    std::vector<NetAddress> found;
    for (const addrinfo* item = list; item != nullptr; item = item->ai_next) {
        if (item->ai_family != AF_INET && item->ai_family != AF_INET6)
            continue;
        if (item->ai_addrlen > sizeof(sockaddr_storage))
            continue;
        NetAddress address;
        std::copy_n(reinterpret_cast<const char*>(item->ai_addr), item->ai_addrlen,
                    reinterpret_cast<char*>(&address.storage));
        address.length = item->ai_addrlen;
        found.push_back(address);
    }
    std::stable_partition(found.begin(), found.end(), [](const NetAddress& a) { return a.Family() == AF_INET6; });
    return found;
}

addrinfo Hints(int family, int flags)
{
    addrinfo hints{};
    hints.ai_family = family;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags;
    return hints;
}

}  // namespace

std::string NetAddress::Text() const
{
    char text[INET6_ADDRSTRLEN] = {};
    if (Family() == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(&storage)->sin6_addr, text, sizeof text);
    else if (Family() == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(&storage)->sin_addr, text, sizeof text);
    return text;
}

int NetAddress::Port() const
{
    if (Family() == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&storage)->sin6_port);
    return ntohs(reinterpret_cast<const sockaddr_in*>(&storage)->sin_port);
}

void NetAddress::SetPort(int port)
{
    const auto value = htons(static_cast<uint16_t>(port));
    if (Family() == AF_INET6)
        reinterpret_cast<sockaddr_in6*>(&storage)->sin6_port = value;
    else
        reinterpret_cast<sockaddr_in*>(&storage)->sin_port = value;
}

bool LookUpAddresses(const std::string& host, int family, int timeoutSeconds, std::vector<NetAddress>& found)
{
    found.clear();
    if (host.empty())
        return false;
    // A numeric address needs no resolver.
    addrinfo hints = Hints(family, AI_NUMERICHOST);
    addrinfo* list = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &list) == 0) {
        found = Collect(list);
        freeaddrinfo(list);
        return !found.empty();
    }

    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, host, family] {
        addrinfo named = Hints(family, AI_ADDRCONFIG);
        addrinfo* result = nullptr;
        std::vector<NetAddress> addresses;
        if (getaddrinfo(host.c_str(), nullptr, &named, &result) == 0) {
            addresses = Collect(result);
            freeaddrinfo(result);
        }
        std::lock_guard<std::mutex> lock(lookup->mutex);
        lookup->found = std::move(addresses);
        lookup->finished = true;
        lookup->done.notify_all();
    }).detach();

    std::unique_lock<std::mutex> lock(lookup->mutex);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(std::max(timeoutSeconds, 1));
    if (!WaitKeepingDesktopAlive(lock, lookup->done, deadline, [&] { return lookup->finished; }))
        return false;
    found = lookup->found;
    return !found.empty();
}
