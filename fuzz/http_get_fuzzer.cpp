// The HTTP client's reading of a reply's header and body, fed by a hostile or broken
// web server.
//
// Input: one byte that sets how the bytes arrive (see served_client.h; the byte's
// second-highest bit makes the body go into a transfer source instead of the body
// lines), then what the server sends.
//
// Promises checked: the request is the one the station means to send; the header lines
// are the lines up to the first empty one (at most 100, each cut to 64 KB), without their
// line ends; the body lines are the rest of the reply split at its line feeds, without
// line ends; a body received into a source is the rest of the reply byte for byte; a
// server that closes ends the reply normally, one that falls silent in the head fails
// the request, unless it sent nothing at all, and one that falls silent in the body fails
// a download into a source.

#include "fuzz_check.h"
#include "net/http_client.h"
#include "net/result_codes.h"
#include "served_client.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <strings.h>
#include <vector>

namespace {

constexpr std::string_view kUrl = "http://127.0.0.1/korvid/kv_inst_list.php?SQL=INST_LIST";
constexpr std::string_view kRequest =
    "GET /korvid/kv_inst_list.php?SQL=INST_LIST HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";

// A transfer source that keeps what is written to it.
class MemorySource : public TransferSource {
public:
    std::unique_ptr<TransferSource> Clone() const override { return std::make_unique<MemorySource>(); }
    int Open(int mode) override
    {
        if (mode != SourceMode::Create)
            return -1;
        bytes.clear();
        open = true;
        return 0;
    }
    int Close() override
    {
        open = false;
        return 0;
    }
    int ReadLine(std::string&, int) override { return -1; }
    int WriteLine(const std::string&) override { return -1; }
    long Read(char*, long) override { return -1; }
    long Write(const char* data, long length) override
    {
        if (!open || length < 0)
            return -1;
        bytes.append(data, static_cast<std::size_t>(length));
        return length;
    }
    long Seek(long, int) override { return -1; }
    long Find(const std::string&, long, bool, long) override { return -1; }

    std::string bytes;
    bool open = false;
};

std::string WithoutLineEnds(std::string text)
{
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    return text;
}

struct Head {
    std::vector<std::string> lines;
    std::size_t bodyStart = 0;
    int result = UTE_SUCCESS;
    bool silent = false;  // nothing at all came
};

// Splits the reply into header lines and the offset where the body starts. Lines are
// read up to a line feed, of the text before it the first 65536 bytes kept and the line
// end after them; one of fewer than 3 bytes ends the header.
Head HeaderLines(std::string_view reply, bool silentAtEnd)
{
    Head head;
    std::vector<std::string>& lines = head.lines;
    std::size_t at = 0;
    for (;;) {
        if (lines.size() >= 100) {
            head.result = UTE_NO_RESPONSE;
            return head;
        }
        std::size_t feed = reply.find('\n', at);
        std::string line;
        if (feed == std::string_view::npos) {
            line = reply.substr(at, 65536);
            if (silentAtEnd) {
                if (!line.empty() || !lines.empty()) {
                    head.result = UTE_SOCK_TIMEOUT;
                    return head;
                }
                head.silent = true;
            }
            at = reply.size();
        } else {
            std::string_view content = reply.substr(at, feed - at);
            const bool cr = !content.empty() && content.back() == '\r';
            line = content.substr(0, 65536);
            if (content.size() <= 65536 && cr)
                line.pop_back();
            line += cr ? "\r\n" : "\n";
            at = feed + 1;
        }
        if (line.size() < 3)
            break;
        if (strncasecmp(line.c_str(), "lock_ini", 8) == 0)
            line.erase(0, line.find('\n') == std::string::npos ? std::string::npos : line.find('\n') + 1);
        lines.push_back(WithoutLineEnds(line));
    }
    head.bodyStart = at;
    return head;
}

std::vector<std::string> BodyLines(std::string_view body)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < body.size()) {
        std::size_t feed = body.find('\n', at);
        std::size_t end = feed == std::string_view::npos ? body.size() : feed + 1;
        lines.push_back(WithoutLineEnds(std::string(body.substr(at, end - at))));
        at = end;
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const Delivery delivery = Delivery::FromByte(data[0]);
    const bool intoSource = (data[0] & 0x40) != 0;
    std::string_view reply(reinterpret_cast<const char*>(data) + 1, size - 1);

    ServedClient<HttpClient> client(reply, delivery);
    MemorySource source;
    const int result = client.Get(std::string(kUrl), intoSource ? &source : nullptr, -1);
    FUZZ_CHECK(client.Sent() == kRequest);
    FUZZ_CHECK(!client.IsConnected());

    const Head head = HeaderLines(reply, delivery.silentAtEnd);
    const std::vector<std::string>& header = head.lines;
    FUZZ_CHECK(client.GetHeaderLineCount() == static_cast<int>(header.size()));
    for (std::size_t i = 0; i < header.size(); ++i)
        FUZZ_CHECK(client.GetHeaderLine(static_cast<int>(i)) == header[i]);

    const std::string_view body = reply.substr(std::min(head.bodyStart, reply.size()));
    if (head.result != UTE_SUCCESS || head.silent) {
        FUZZ_CHECK(result == head.result);
        FUZZ_CHECK(source.bytes.empty() && !source.open);
        FUZZ_CHECK(client.GetBodyLineCount() == 0);
    } else if (intoSource) {
        FUZZ_CHECK(result == (delivery.silentAtEnd ? UTE_SOCK_RECEIVE_ERROR : UTE_SUCCESS));
        FUZZ_CHECK(!source.open);
        FUZZ_CHECK(source.bytes == body);
        FUZZ_CHECK(client.GetBodyLineCount() == 0);
    } else {
        FUZZ_CHECK(result == UTE_SUCCESS);
        FUZZ_CHECK(client.GetBodyLines() == BodyLines(body));
    }
    return 0;
}
