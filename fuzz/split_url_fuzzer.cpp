// URLs as the HTTP client takes them apart, and the request it then sends.
//
// Input: the URL. Names are not looked up: every host stands for the served peer.
//
// Promises checked: a URL is split into a host without ":", "/" or "?", an optional
// port and a path that starts with "/" or "?" (or is empty) and holds no "#" or
// backslash; the host and the path are taken from the URL unchanged; a URL with a
// control character is refused; a GET of any other sends exactly one request line and
// one Host line, so nothing in a URL can add a header line of its own.

#include "fuzz_check.h"
#include "net/http_client.h"
#include "net/result_codes.h"
#include "served_client.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string url(reinterpret_cast<const char*>(data), size);
    std::string normalized = url;
    std::replace(normalized.begin(), normalized.end(), '\\', '/');

    ServedClient<HttpClient> splitter("", Delivery{});
    std::string path = "from before";
    const int result = splitter.SplitUrl(url, path);
    FUZZ_CHECK(result == UTE_SUCCESS || result == UTE_BAD_URL || result == UTE_SERVER_SET_NAME_FAILED);
    const bool control = std::any_of(url.begin(), url.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; });
    if (control)
        FUZZ_CHECK(result == UTE_BAD_URL);
    if (result != UTE_SUCCESS)
        return 0;
    const std::string& host = splitter.GetHostName();
    FUZZ_CHECK(!host.empty() && host.size() < 256);
    FUZZ_CHECK(host.find_first_of(":/?") == std::string::npos);
    FUZZ_CHECK(normalized.find(host) != std::string::npos);
    FUZZ_CHECK(path.empty() || path[0] == '/' || path[0] == '?');
    FUZZ_CHECK(path.find_first_of("#\\") == std::string::npos);
    FUZZ_CHECK(normalized.find(path) != std::string::npos);
    FUZZ_CHECK(splitter.GetPort() >= 0 && splitter.GetPort() <= 65535);

    // The same URL fetched from a peer that answers with an empty reply.
    ServedClient<HttpClient> client("", Delivery{});
    FUZZ_CHECK(client.Get(url, nullptr, -1) == UTE_SUCCESS);
    const std::string target = !path.empty() && path[0] == '/' ? path : "/" + path;
    FUZZ_CHECK(client.Sent() == "GET " + target + " HTTP/1.0\r\nHost: " + host + "\r\n\r\n");
    const std::string& sent = client.Sent();
    FUZZ_CHECK(std::count(sent.begin(), sent.end(), '\n') == 3);
    return 0;
}
