#include "servers/scripted_server.h"

#include <chrono>

#include "servers/server_timeouts.h"

#include <chrono>

ScriptedServer::ScriptedServer()
{
    listener_ = ServerSocket::Listen("127.0.0.1", &stop_);
    port_ = listener_.Port();
}

ScriptedServer::~ScriptedServer()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

void ScriptedServer::Record(const std::string& text)
{
    std::lock_guard<std::mutex> lock(mutex_);
    received_.push_back(text);
}

ScriptedServer& ScriptedServer::Accept()
{
    steps_.push_back([this] { connection_ = listener_.Accept(kServerWaitMs); });
    return *this;
}

ScriptedServer& ScriptedServer::Send(const std::string& bytes)
{
    steps_.push_back([this, bytes] { connection_.SendAll(bytes); });
    return *this;
}

ScriptedServer& ScriptedServer::ReadLine()
{
    steps_.push_back([this] {
        std::string line;
        if (connection_.ReadLine(line, kServerWaitMs))
            Record(WithoutLineEnd(line));
    });
    return *this;
}

ScriptedServer& ScriptedServer::ReadRequest()
{
    steps_.push_back([this] {
        std::string line;
        while (connection_.ReadLine(line, kServerWaitMs)) {
            line = WithoutLineEnd(line);
            if (line.empty())
                break;
            Record(line);
        }
    });
    return *this;
}

ScriptedServer& ScriptedServer::ReadToEnd()
{
    steps_.push_back([this] { Record(connection_.ReadToEnd(kServerWaitMs)); });
    return *this;
}

ScriptedServer& ScriptedServer::Pause(int milliseconds)
{
    steps_.push_back([milliseconds] { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); });
    return *this;
}

ScriptedServer& ScriptedServer::Close()
{
    steps_.push_back([this] { connection_.Close(); });
    return *this;
}

void ScriptedServer::Start()
{
    thread_ = std::thread([this] {
        for (auto& step : steps_)
            step();
        connection_.ReadToEnd(kServerWaitMs);
        connection_.Close();
    });
}

void ScriptedServer::Finish()
{
    if (thread_.joinable())
        thread_.join();
}

std::vector<std::string> ScriptedServer::Received() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}
