// The FTP client's reply reader on the control connection, fed by a hostile or broken
// server.
//
// Input: one byte that sets how the bytes arrive (see served_client.h), then what the
// server sends. The client reads replies until none comes.
//
// Promises checked against a model of the reply format worked out here: each reply's
// code, its text, the response lines and the last response (at most 259 characters);
// a reply is never read past its final line, so the next reply stays intact; a missing
// reply gives 0 and leaves the last response alone.

#include "fuzz_check.h"
#include "net/ftp_client.h"
#include "served_client.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The lines as the client receives them: up to and including a line feed, at most 260
// bytes each; then up to two CR or LF characters come off the end.
struct ModelLine {
    std::string text;
    std::size_t end;  // offset in the stream after the line
};

std::vector<ModelLine> Lines(std::string_view stream)
{
    std::vector<ModelLine> lines;
    std::size_t at = 0;
    while (at < stream.size()) {
        std::size_t length = std::min<std::size_t>(stream.size() - at, 260);
        std::size_t feed = stream.substr(at, length).find('\n');
        if (feed != std::string_view::npos)
            length = feed + 1;
        std::string text(stream.substr(at, length));
        for (int i = 0; i < 2 && !text.empty() && (text.back() == '\r' || text.back() == '\n'); ++i)
            text.pop_back();
        at += length;
        lines.push_back({text, at});
    }
    return lines;
}

struct ModelReply {
    int code = 0;
    std::string text;
    std::size_t end = 0;
};

class ReplyModel {
public:
    explicit ReplyModel(std::string_view stream) : lines_(Lines(stream)) {}

    ModelReply Next()
    {
        if (next_ == lines_.size())
            return {0, "    NO RESPONSE", end_};
        const ModelLine* line = &lines_[next_++];
        const std::string first = line->text;
        ModelReply reply;
        reply.code = static_cast<int>(std::strtol(first.substr(0, 3).c_str(), nullptr, 10));
        if (first.size() > 3 && first[3] == '-') {
            // Lines up to the one that repeats the code with a blank; all of them are
            // response lines. A reply cut short ends with its last line.
            responseLines_.clear();
            const std::string finalPrefix = first.substr(0, 3) + " ";
            while (line->text.compare(0, 4, finalPrefix) != 0 && next_ < lines_.size()) {
                responseLines_.push_back(line->text);
                line = &lines_[next_++];
            }
        }
        responseLines_.push_back(line->text);
        lastResponse_ = line->text.substr(0, 259);
        reply.text = line->text.size() > 4 ? line->text.substr(4) : "";
        reply.end = end_ = line->end;
        return reply;
    }

    const std::vector<std::string>& ResponseLines() const { return responseLines_; }
    const std::string& LastResponse() const { return lastResponse_; }

private:
    std::vector<ModelLine> lines_;
    std::size_t next_ = 0;
    std::size_t end_ = 0;
    std::vector<std::string> responseLines_;
    std::string lastResponse_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    std::string_view stream(reinterpret_cast<const char*>(data) + 1, size - 1);
    ServedClient<FtpClient> client(stream, Delivery::FromByte(data[0]));
    client.Open();
    ReplyModel model(stream);

    for (;;) {
        std::string text;
        const int code = client.ReadReply(&text);
        const ModelReply expected = model.Next();
        FUZZ_CHECK(code == expected.code);
        FUZZ_CHECK(text == expected.text);
        FUZZ_CHECK(client.Used() == expected.end);
        FUZZ_CHECK(client.GetLastResponse() == model.LastResponse());
        const std::vector<std::string>& lines = model.ResponseLines();
        FUZZ_CHECK(client.GetResponseLineCount() == static_cast<int>(lines.size()));
        for (std::size_t i = 0; i < lines.size(); ++i)
            FUZZ_CHECK(client.GetResponseLine(static_cast<int>(i)) == lines[i]);
        if (code == 0 && client.Used() == stream.size())
            break;
    }
    return 0;
}
