// A small HTTP/1.0 client: one request per connection. The status line is kept as the
// first response header line but not judged: the outcome depends on the connection only.
// The head is read within the request's receive time-out, at most 100 lines of 64 KB.
#pragma once

#include "net/transfer_source.h"
#include "net/ws_client.h"

#include <string>
#include <vector>

class HttpClient : public CUT_WSClient {
public:
    HttpClient() = default;

    virtual int Head(const std::string& url);
    virtual int Delete(const std::string& url);
    virtual int PutFile(const std::string& url, const std::string& localPath);
    virtual int Put(const std::string& url, TransferSource& source);
    virtual int Request(const std::string& method, const std::string& url, const std::string& body);
    // Writes the body lines to a new file, each ended by CR LF.
    virtual int SaveBody(const std::string& path);

    // The body goes into the target, or into the body lines without one. A time-out of
    // 1 ms or more replaces the send and receive time-outs.
    int Get(const std::string& url, TransferSource* target = nullptr, int timeoutMs = -1);
    int GetToFile(const std::string& url, const std::string& localPath, int timeoutMs = -1);

    // 0, or 1 for a port that is not one.
    int SetPort(int port);
    int GetPort() const { return port_; }
    void SetConnectTimeout(int seconds) { connectTimeout_ = seconds; }
    // Whether every GET starts with no extra header lines.
    void SetAutoClear(int autoClear) { autoClear_ = autoClear; }
    // A header line for the next request; CR LF is added unless the line has its end.
    void AddHeader(const std::string& line);
    void ClearResponse();

    int GetHeaderLineCount() const { return static_cast<int>(headerLines_.size()); }
    std::string GetHeaderLine(int index) const;
    int GetBodyLineCount() const { return static_cast<int>(bodyLines_.size()); }
    std::string GetBodyLine(int index) const;
    const std::vector<std::string>& GetBodyLines() const { return bodyLines_; }

    int SetHost(const std::string& name);
    const std::string& GetHostName() const { return hostName_; }
    // Takes host and port from the URL and hands back the path with its query.
    int SplitUrl(const std::string& url, std::string& path);

private:
    int Open(const std::string& url, std::string& path);
    int SendRequestHead(const std::string& method, const std::string& path);
    int ReadHeaderLines(size_t maxKept);
    int ReadBodyLines(int lineSize, int timeoutSeconds);
    int CloseWith(int code);

    int autoClear_ = 1;
    std::string hostAddress_;
    std::string hostName_;
    int port_ = 80;
    std::vector<std::string> extraHeaders_;
    std::vector<std::string> headerLines_;
    std::vector<std::string> bodyLines_;
    int connectTimeout_ = 5;
    // Whether the last head read ended without a byte from the server: it answered nothing.
    bool silent_ = false;
};
