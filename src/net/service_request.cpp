#include "net/service_request.h"

#include "net/http_client.h"
#include "net/result_codes.h"
#include "net/service_text.h"

#include <cstdio>

namespace {

constexpr char kFieldSeparator = '\xF8';

}  // namespace

ServiceRequest::ServiceRequest(const std::string& server, const std::string& portText)
    : portText_(portText), server_(server)
{
}

std::unique_ptr<ServiceReply> ServiceRequest::Fetch(const std::string& script, const std::string& query)
{
    HttpClient client;
    int port = 0;
    if (std::sscanf(portText_.c_str(), "%d", &port) == 1)
        client.SetPort(port);
    result_ = client.Get("http://" + server_ + "/" + script + "?" + query, nullptr, -1);
    reason_ = client.FailureReason(result_);
    if (result_ != UTE_SUCCESS)
        return nullptr;
    return std::make_unique<ServiceReply>(client.GetBodyLines());
}

std::unique_ptr<ServiceReply> ServiceRequest::Query(const std::string& script, const std::string& query)
{
    firstNumber_ = secondNumber_ = 0;
    message_.clear();
    std::unique_ptr<ServiceReply> reply = Fetch(script, query);
    if (!reply)
        return nullptr;
    if (reply->empty() || reply->front().compare(0, 2, "OK") != 0) {
        for (const std::string& line : *reply)
            message_ += ServiceTextToUtf8(line) + "\n";
        FreeReply(reply);
        return nullptr;
    }
    std::sscanf(reply->front().c_str(), "OK %d,%d", &firstNumber_, &secondNumber_);
    message_ = "OK";
    return reply;
}

std::string ServiceRequest::GetField(const std::string& line, int index)
{
    if (index < 0)
        return "";
    size_t start = 0;
    for (int field = 0; field < index; ++field) {
        size_t separator = line.find(kFieldSeparator, start);
        if (separator == std::string::npos)
            return "";
        start = separator + 1;
    }
    size_t end = line.find(kFieldSeparator, start);
    return ServiceTextToUtf8(std::string_view(line).substr(start, end == std::string::npos ? std::string::npos : end - start));
}

void ServiceRequest::FreeReply(std::unique_ptr<ServiceReply>& reply)
{
    reply.reset();
}
