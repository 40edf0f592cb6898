// The FTP client's reply reader on the control connection, fed by a hostile or broken
// server.
//
// Input: one byte that sets how the bytes arrive (see served_client.h), then what the
// server sends. The client reads replies until none comes.
//
// Promises checked against a model of the reply format worked out here: each reply's
// code, its text, the response lines and the last response (at most 259 characters);
// a reply is never read past its final line, so the next reply stays intact; a missing
// or unfinished reply gives 0, leaves the last response alone and ends the connection.

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

constexpr std::size_t kKept = 260;
constexpr std::size_t kMaxReplyLines = 10000;

// The lines as the client receives them: read to a line feed, of the text before it the
// first 260 bytes kept, a CR before the feed taken as part of the line end; then up to
// two CR or LF characters come off the end. A last line without a feed is no line.
struct ModelLine {
    std::string text;
    std::size_t end;  // offset in the stream after the line
    bool whole;
};

std::vector<ModelLine> Lines(std::string_view stream)
{
    std::vector<ModelLine> lines;
    std::size_t at = 0;
    while (at < stream.size()) {
        std::size_t feed = stream.find('\n', at);
        if (feed == std::string_view::npos) {
            lines.push_back({"", stream.size(), false});
            break;
        }
        std::string_view content = stream.substr(at, feed - at);
        const bool cr = !content.empty() && content.back() == '\r';
        std::string text(content.substr(0, kKept));
        if (content.size() <= kKept && cr)
            text.pop_back();
        text += cr ? "\r\n" : "\n";
        for (int i = 0; i < 2 && !text.empty() && (text.back() == '\r' || text.back() == '\n'); ++i)
            text.pop_back();
        at = feed + 1;
        lines.push_back({text, at, true});
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
        if (closed_ || next_ == lines_.size())
            return NoReply();
        const ModelLine* line = &lines_[next_++];
        end_ = line->end;
        if (!line->whole)
            return NoReply();
        const std::string first = line->text;
        ModelReply reply;
        reply.code = static_cast<int>(std::strtol(first.substr(0, 3).c_str(), nullptr, 10));
        if (first.size() > 3 && first[3] == '-') {
            // Lines up to the one that repeats the code with a blank; all of them are
            // response lines. A reply cut short is none.
            responseLines_.clear();
            const std::string finalPrefix = first.substr(0, 3) + " ";
            std::size_t count = 0;
            while (line->text.compare(0, 4, finalPrefix) != 0) {
                if (++count > kMaxReplyLines)
                    return NoReply();
                responseLines_.push_back(line->text);
                if (next_ == lines_.size())
                    return NoReply();
                line = &lines_[next_++];
                end_ = line->end;
                if (!line->whole)
                    return NoReply();
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
    bool Closed() const { return closed_; }

private:
    ModelReply NoReply()
    {
        closed_ = true;
        return {0, "    NO RESPONSE", end_};
    }

    std::vector<ModelLine> lines_;
    bool closed_ = false;
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
        // A line without a number is a reply of code 0; no reply ends the connection.
        if (expected.text == "    NO RESPONSE" && model.Closed()) {
            FUZZ_CHECK(!client.IsConnected());
            break;
        }
    }
    return 0;
}
