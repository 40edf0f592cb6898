#include "servers/fake_ftp_server.h"

#include "servers/server_timeouts.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

std::string Replace(std::string text, const std::string& what, const std::string& with)
{
    size_t at = text.find(what);
    if (at != std::string::npos)
        text.replace(at, what.size(), with);
    return text;
}

}  // namespace

FakeFtpServer::FakeFtpServer()
{
    script_.Accept().Do([this](ServerSocket& control) { control.SendAll(greeting_); });
}

FakeFtpServer& FakeFtpServer::Step(std::function<void(ServerSocket& control)> step)
{
    script_.Do(std::move(step));
    return *this;
}

bool FakeFtpServer::ReadCommand(ServerSocket& control)
{
    std::string line;
    if (!control.ReadLine(line, kServerWaitMs))
        return false;
    line = WithoutLineEnd(line);
    std::lock_guard<std::mutex> lock(mutex_);
    commands_.push_back(line);
    if (line.rfind("PORT ", 0) == 0) {
        // h1,h2,h3,h4,p1,p2
        std::string fields = line.substr(5);
        int numbers[6] = {};
        size_t start = 0;
        for (int& number : numbers) {
            number = std::atoi(fields.c_str() + start);
            size_t comma = fields.find(',', start);
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
        activeAddress_ = std::to_string(numbers[0]) + "." + std::to_string(numbers[1]) + "."
            + std::to_string(numbers[2]) + "." + std::to_string(numbers[3]);
        activePort_ = numbers[4] * 256 + numbers[5];
        announcedPorts_.push_back(activePort_);
    }
    return true;
}

FakeFtpServer& FakeFtpServer::Greet(const std::string& reply)
{
    greeting_ = reply;
    return *this;
}

FakeFtpServer& FakeFtpServer::Reply(const std::string& reply)
{
    return Step([this, reply](ServerSocket& control) {
        if (ReadCommand(control) && !reply.empty())
            control.SendAll(reply);
    });
}

FakeFtpServer& FakeFtpServer::AcceptLogin()
{
    return Reply("331 Password required.\r\n")
        .Reply("230 Logged in.\r\n")
        .Reply("200 Type set to A.\r\n")
        .Reply("200 Mode set to S.\r\n")
        .Reply("200 Structure set to F.\r\n");
}

FakeFtpServer& FakeFtpServer::Passive(const std::string& reply)
{
    return Step([this, reply](ServerSocket& control) {
        if (!ReadCommand(control))
            return;
        passiveListener_ = script_.Listen();
        int port = passiveListener_.Port();
        control.SendAll(Replace(reply, "{port}", std::to_string(port / 256) + "," + std::to_string(port % 256)));
    });
}

ServerSocket FakeFtpServer::OpenData(const FtpDataStep& step)
{
    if (passiveListener_.IsOpen()) {
        ServerSocket data = passiveListener_.Accept(kServerWaitMs);
        passiveListener_.Close();
        return data;
    }
    std::string address;
    int port;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        address = activeAddress_;
        port = activePort_;
    }
    std::vector<ServerSocket> strays;
    for (const std::string& from : step.strayFrom)
        strays.push_back(script_.ConnectTo(address, port, from));
    ServerSocket data;
    if (step.connect)
        data = script_.ConnectTo(address, port, "");
    // A stray connection is over when the client drops it.
    for (ServerSocket& stray : strays)
        stray.ReadToEnd(kServerWaitMs);
    return data;
}

FakeFtpServer& FakeFtpServer::SendData(const FtpDataStep& step)
{
    return Step([this, step](ServerSocket& control) {
        if (!ReadCommand(control))
            return;
        control.SendAll(step.preliminary);
        ServerSocket data = OpenData(step);
        data.SendAll(step.data);
        if (step.stall) {
            if (!data.AwaitPeerClose(kStallMs))
                silenceOutlasted_ = true;
            return;
        }
        data.Close();
        std::this_thread::sleep_for(std::chrono::milliseconds(step.finalDelayMs));
        control.SendAll(step.final);
    });
}

FakeFtpServer& FakeFtpServer::ReceiveData(const FtpDataStep& step)
{
    return Step([this, step](ServerSocket& control) {
        if (!ReadCommand(control))
            return;
        control.SendAll(step.preliminary);
        ServerSocket data = OpenData(step);
        std::string bytes = data.ReadToEnd(kServerWaitMs);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            uploaded_ += bytes;
        }
        data.Close();
        control.SendAll(step.final);
    });
}

FakeFtpServer& FakeFtpServer::Silent()
{
    return Step([this](ServerSocket& control) {
        if (ReadCommand(control) && !control.AwaitPeerClose(kStallMs))
            silenceOutlasted_ = true;
    });
}

FakeFtpServer& FakeFtpServer::Close()
{
    script_.Close();
    return *this;
}

void FakeFtpServer::Start()
{
    // Whatever comes until the client closes (QUIT) is recorded as well.
    Step([this](ServerSocket& control) {
        while (ReadCommand(control)) {
        }
    });
    script_.Start();
}

void FakeFtpServer::Finish()
{
    script_.Finish();
}

std::vector<std::string> FakeFtpServer::Commands() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return commands_;
}

std::string FakeFtpServer::Uploaded() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return uploaded_;
}

std::vector<int> FakeFtpServer::AnnouncedPorts() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return announcedPorts_;
}
