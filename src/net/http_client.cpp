#include "net/http_client.h"

#include "net/result_codes.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <strings.h>

namespace {

constexpr size_t kMaxHostName = 256;
constexpr size_t kMaxPath = 32768;
// Header lines are kept up to these lengths, the rest of a longer one dropped.
constexpr size_t kGetHeaderKept = 65536;
constexpr size_t kShortHeaderKept = 520;
// More header lines than any service sends: a head that goes on is no reply.
constexpr size_t kMaxHeaderLines = 100;
constexpr int kGetBodyLineSize = 65537;
constexpr int kRequestLineSize = 520;
constexpr int kPutLineSize = 521;
constexpr int kBodySeconds = 5;
// More than any caller of the body lines can use.
constexpr size_t kMaxBodyBytes = 16u * 1024 * 1024;
// A body that brings fewer bytes than this in a receive time-out has stalled.
constexpr size_t kLowestBodyBytes = 1024;

bool EndsLine(const std::string& text)
{
    return !text.empty() && (text.back() == '\r' || text.back() == '\n');
}

void TrimLineEnds(std::string& text)
{
    while (EndsLine(text))
        text.pop_back();
}

bool AllDigits(const std::string& text)
{
    return !text.empty()
        && std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

}  // namespace

int HttpClient::SetPort(int port)
{
    if (port < 0 || port > 65535)
        return 1;
    port_ = port;
    return 0;
}

void HttpClient::AddHeader(const std::string& line)
{
    bool hasEnd = (!line.empty() && line.back() == '\n') || (line.size() >= 2 && line[line.size() - 2] == '\r');
    extraHeaders_.push_back(hasEnd ? line : line + "\r\n");
}

void HttpClient::ClearResponse()
{
    headerLines_.clear();
    bodyLines_.clear();
}

std::string HttpClient::GetHeaderLine(int index) const
{
    return index >= 0 && index < GetHeaderLineCount() ? headerLines_[static_cast<size_t>(index)] : std::string();
}

std::string HttpClient::GetBodyLine(int index) const
{
    return index >= 0 && index < GetBodyLineCount() ? bodyLines_[static_cast<size_t>(index)] : std::string();
}

int HttpClient::SetHost(const std::string& name)
{
    if (name == hostName_)
        return OnError(UTE_SUCCESS);
    if (name.size() >= kMaxHostName)
        return OnError(UTE_PARAMETER_TOO_LONG);
    hostName_ = name;
    hostAddress_.clear();
    if (IsDottedAddress(name)) {
        hostAddress_ = name;
        return OnError(UTE_SUCCESS);
    }
    return OnError(ResolveHost(name, hostAddress_) == UTE_SUCCESS ? UTE_SUCCESS : UTE_ERROR);
}

int HttpClient::SplitUrl(const std::string& url, std::string& path)
{
    // The path goes into the request line as it is: a control character there would
    // end the line early and start a header line of the URL's making.
    if (std::any_of(url.begin(), url.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; }))
        return OnError(UTE_BAD_URL);
    std::string text = url;
    std::replace(text.begin(), text.end(), '\\', '/');
    size_t scheme = text.find("://");
    size_t hostStart = text.find_first_not_of(":/?", scheme == std::string::npos ? 0 : scheme + 3);
    if (hostStart == std::string::npos)
        return OnError(UTE_BAD_URL);
    size_t rest = std::min(text.find_first_of(":/?", hostStart), text.size());
    const std::string host = text.substr(hostStart, rest - hostStart);

    // A port stands right behind the host; an empty one keeps the port as it is.
    int port = -1;
    if (rest < text.size() && text[rest] == ':') {
        size_t portEnd = std::min(text.find_first_of("/?#", rest + 1), text.size());
        const std::string digits = text.substr(rest + 1, portEnd - rest - 1);
        if (!digits.empty()) {
            if (!AllDigits(digits) || digits.size() > 5 || std::stoi(digits) > 65535)
                return OnError(UTE_BAD_URL);
            port = std::stoi(digits);
        }
        rest = portEnd;
    }
    if (SetHost(host) != UTE_SUCCESS)
        return OnError(UTE_SERVER_SET_NAME_FAILED);
    if (port >= 0)
        port_ = port;

    path = text.substr(rest);
    path = path.substr(0, path.find('#'));
    if (path.size() > kMaxPath)
        return OnError(UTE_BAD_URL);
    return OnError(UTE_SUCCESS);
}

int HttpClient::CloseWith(int code)
{
    CloseConnection();
    return OnError(code);
}

int HttpClient::Open(const std::string& url, std::string& path)
{
    if (url.empty() || SplitUrl(url, path) != UTE_SUCCESS)
        return UTE_BAD_URL;
    // The address SetHost looked up: the name is not looked up a second time.
    return Connect(port_, hostAddress_.empty() ? hostName_ : hostAddress_, connectTimeout_, SocketDefaults::kFamily,
                   SocketDefaults::kStream);
}

int HttpClient::SendRequestHead(const std::string& method, const std::string& path)
{
    auto sent = [this](const std::string& text) {
        return SendAll(text.data(), static_cast<int>(text.size())) == static_cast<int>(text.size());
    };
    const std::string target = !path.empty() && path[0] == '/' ? path : "/" + path;
    if (!sent(method + " " + target + " HTTP/1.0\r\n"))
        return UTE_CONNECT_TERMINATED;
    if (IsAborted())
        return UTE_ABORTED;
    for (const std::string& header : extraHeaders_) {
        if (!sent(header))
            return UTE_CONNECT_TERMINATED;
    }
    if (!sent("Host: " + hostName_ + "\r\n") || !sent("\r\n"))
        return UTE_CONNECT_TERMINATED;
    return UTE_SUCCESS;
}

int HttpClient::ReadHeaderLines(size_t maxKept)
{
    // The status line and the header lines within the request's receive time-out; a
    // server that sends nothing in that time has answered nothing.
    const SocketDeadline deadline = ReceiveDeadline();
    silent_ = false;
    for (;;) {
        if (IsAborted()) {
            headerLines_.clear();
            return UTE_ABORTED;
        }
        if (headerLines_.size() >= kMaxHeaderLines)
            return UTE_NO_RESPONSE;
        std::string line;
        int result = ReceiveLineWithin(line, maxKept, deadline);
        if (result == UTE_ABORTED) {
            headerLines_.clear();
            return UTE_ABORTED;
        }
        if (result == UTE_SOCK_TIMEOUT) {
            if (!line.empty() || !headerLines_.empty())
                return UTE_SOCK_TIMEOUT;
            silent_ = true;
        }
        // The empty line (or nothing at all) ends the head.
        if (line.size() < 3)
            return UTE_SUCCESS;
        if (strncasecmp(line.c_str(), "lock_ini", 8) == 0) {
            size_t end = line.find('\n');
            line.erase(0, end == std::string::npos ? std::string::npos : end + 1);
        }
        TrimLineEnds(line);
        headerLines_.push_back(line);
    }
}

int HttpClient::ReadBodyLines(int lineSize, int timeoutSeconds)
{
    // A line longer than a receive comes in pieces; a piece after an unfinished line
    // continues it. A wait without bytes ends the body; a body that keeps coming too
    // slowly, or grows beyond use, ends as no reply.
    bool lastComplete = true;
    bool lastEndedInCr = false;
    size_t total = 0;
    size_t windowBytes = 0;
    SocketDeadline windowEnd = DeadlineAfterMs(std::max(timeoutSeconds, 1) * 1000);
    for (;;) {
        if (IsAborted()) {
            bodyLines_.clear();
            return UTE_ABORTED;
        }
        std::string piece;
        if (ReceiveLine(piece, lineSize, timeoutSeconds) < 1)
            return UTE_SUCCESS;
        total += piece.size();
        windowBytes += piece.size();
        if (total > kMaxBodyBytes)
            return UTE_NO_RESPONSE;
        if (std::chrono::steady_clock::now() >= windowEnd) {
            if (windowBytes < kLowestBodyBytes)
                return UTE_SOCK_TIMEOUT;
            windowBytes = 0;
            windowEnd = DeadlineAfterMs(std::max(timeoutSeconds, 1) * 1000);
        }
        // The LF of a CR LF that was cut apart belongs to the line before.
        if (lastEndedInCr && piece[0] == '\n') {
            piece.erase(0, 1);
            if (piece.empty()) {
                lastEndedInCr = false;
                continue;
            }
        }
        const bool complete = EndsLine(piece);
        lastEndedInCr = !piece.empty() && piece.back() == '\r';
        TrimLineEnds(piece);
        if (lastComplete || bodyLines_.empty())
            bodyLines_.push_back(piece);
        else
            bodyLines_.back() += piece;
        lastComplete = complete;
    }
}

int HttpClient::Get(const std::string& url, TransferSource* target, int timeoutMs)
{
    if (autoClear_)
        extraHeaders_.clear();
    ClearResponse();
    std::string path;
    int result = Open(url, path);
    if (result != UTE_SUCCESS)
        return OnError(result);
    if (timeoutMs >= 1) {
        SetReceiveTimeout(timeoutMs);
        SetSendTimeout(timeoutMs);
    }
    if ((result = SendRequestHead("GET", path)) != UTE_SUCCESS)
        return CloseWith(result);
    if ((result = ReadHeaderLines(kGetHeaderKept)) != UTE_SUCCESS || silent_)
        return CloseWith(result);
    if (target) {
        result = ReceiveToSource(*target, SourceMode::Create, 0, 0);
        return CloseWith(result);
    }
    result = ReadBodyLines(kGetBodyLineSize, GetReceiveTimeout() / 1000);
    return CloseWith(result);
}

int HttpClient::GetToFile(const std::string& url, const std::string& localPath, int timeoutMs)
{
    if (localPath.empty())
        return Get(url, nullptr, timeoutMs);
    FileTransferSource file(localPath, 4096);
    return Get(url, &file, timeoutMs);
}

int HttpClient::Head(const std::string& url)
{
    if (autoClear_)
        extraHeaders_.clear();
    ClearResponse();
    std::string path;
    int result = Open(url, path);
    if (result != UTE_SUCCESS)
        return OnError(result);
    if ((result = SendRequestHead("HEAD", path)) != UTE_SUCCESS)
        return CloseWith(result);
    result = ReadHeaderLines(kShortHeaderKept);
    ClearReceiveBuffer();
    return CloseWith(result);
}

int HttpClient::Request(const std::string& method, const std::string& url, const std::string& body)
{
    ClearResponse();
    std::string path;
    int result = Open(url, path);
    if (result != UTE_SUCCESS)
        return OnError(result);
    if ((result = SendRequestHead(method, path)) != UTE_SUCCESS)
        return CloseWith(result);
    if (!body.empty()) {
        const std::string text = body + "\r\n";
        if (SendAll(text.data(), static_cast<int>(text.size())) != static_cast<int>(text.size()))
            return CloseWith(UTE_CONNECT_TERMINATED);
    }
    if ((result = ReadHeaderLines(kShortHeaderKept)) != UTE_SUCCESS || silent_)
        return CloseWith(result);
    return CloseWith(ReadBodyLines(kRequestLineSize, kBodySeconds));
}

int HttpClient::Delete(const std::string& url)
{
    return Request("DELETE", url, "");
}

int HttpClient::Put(const std::string& url, TransferSource& source)
{
    // Every way out leaves no extra header lines behind.
    struct ClearHeaders {
        std::vector<std::string>& headers;
        ~ClearHeaders() { headers.clear(); }
    } clearHeaders{extraHeaders_};

    if (source.Open(SourceMode::Read) != 0)
        return OnError(UTE_DS_OPEN_FAILED);
    long size = std::max(source.Seek(0, 2), 0L);
    source.Close();
    extraHeaders_.push_back("Content-Length: " + std::to_string(size) + "\r\n");

    ClearResponse();
    std::string path;
    int result = Open(url, path);
    if (result != UTE_SUCCESS)
        return OnError(result);
    if ((result = SendRequestHead("PUT", path)) != UTE_SUCCESS)
        return CloseWith(result);
    if ((result = SendFromSource(source)) != UTE_SUCCESS)
        return CloseWith(result);
    SendAll("\r\n", 2);
    if ((result = ReadHeaderLines(kShortHeaderKept)) != UTE_SUCCESS || silent_)
        return CloseWith(result);
    return CloseWith(ReadBodyLines(kPutLineSize, kBodySeconds));
}

int HttpClient::PutFile(const std::string& url, const std::string& localPath)
{
    FileTransferSource file(localPath, 4096);
    return Put(url, file);
}

int HttpClient::SaveBody(const std::string& path)
{
    FileTransferSource file(path, 4096);
    if (file.Open(SourceMode::Create) != 0)
        return OnError(UTE_FILE_OPEN_ERROR);
    for (const std::string& line : bodyLines_) {
        if (IsAborted())
            return CloseWith(UTE_ABORTED);
        const std::string text = EndsLine(line) ? line : line + "\r\n";
        if (file.Write(text.data(), static_cast<long>(text.size())) != static_cast<long>(text.size()))
            return OnError(UTE_FILE_WRITE_ERROR);
    }
    return OnError(file.Close() == 0 ? UTE_SUCCESS : UTE_FILE_WRITE_ERROR);
}
