// One request to a script of the service's web server, and its reply as plain text lines.
// A list reply has the status line "OK <n>,<m>", a second line, and rows whose fields
// are separated by the byte 0xF8.
#pragma once

#include <memory>
#include <string>
#include <vector>

// The reply's lines as the server sent them, without line ends.
using ServiceReply = std::vector<std::string>;

class ServiceRequest {
public:
    // The port text as the user typed it: a leading number is the port, else port 80.
    ServiceRequest(const std::string& server, const std::string& portText);

    // GET http://<server>/<script>?<query>; the body lines, or none on failure.
    std::unique_ptr<ServiceReply> Fetch(const std::string& script, const std::string& query);
    // Fetch, and the reply only when its status line begins with "OK"; otherwise the
    // reply's lines become the message.
    std::unique_ptr<ServiceReply> Query(const std::string& script, const std::string& query);
    // The index-th field of a reply line (counted from 0) as UTF-8; empty beyond the last.
    static std::string GetField(const std::string& line, int index);
    static void FreeReply(std::unique_ptr<ServiceReply>& reply);

    // The result code of the last Fetch, and what went wrong as one German line.
    int GetResult() const { return result_; }
    const std::string& GetFailureReason() const { return reason_; }
    int GetFirstNumber() const { return firstNumber_; }
    int GetSecondNumber() const { return secondNumber_; }
    // "OK" after a good reply, the server's text (UTF-8) after a bad one, else empty.
    const std::string& GetMessage() const { return message_; }

private:
    std::string portText_;
    std::string server_;
    int result_ = 0;
    std::string reason_;
    int firstNumber_ = 0;
    int secondNumber_ = 0;
    std::string message_;
};
