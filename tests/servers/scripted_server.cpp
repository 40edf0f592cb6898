#include "servers/scripted_server.h"

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

ScriptedServer& ScriptedServer::Do(std::function<void(ServerSocket& connection)> step)
{
    steps_.push_back([this, step = std::move(step)] { step(connection_); });
    return *this;
}

ScriptedServer& ScriptedServer::Send(const std::string& bytes)
{
    return Do([bytes](ServerSocket& connection) { connection.SendAll(bytes); });
}

ScriptedServer& ScriptedServer::ReadLine()
{
    return Do([this](ServerSocket& connection) {
        std::string line;
        if (connection.ReadLine(line, kServerWaitMs))
            Record(WithoutLineEnd(line));
    });
}

ScriptedServer& ScriptedServer::ReadRequest()
{
    return Do([this](ServerSocket& connection) {
        std::string line;
        while (connection.ReadLine(line, kServerWaitMs)) {
            line = WithoutLineEnd(line);
            if (line.empty())
                break;
            Record(line);
        }
    });
}

ScriptedServer& ScriptedServer::ReadToEnd()
{
    return Do([this](ServerSocket& connection) { Record(connection.ReadToEnd(kServerWaitMs)); });
}

ScriptedServer& ScriptedServer::Pause(int milliseconds)
{
    steps_.push_back([milliseconds] { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); });
    return *this;
}

ScriptedServer& ScriptedServer::Close()
{
    return Do([](ServerSocket& connection) { connection.Close(); });
}

ServerSocket ScriptedServer::Listen()
{
    return ServerSocket::Listen("127.0.0.1", &stop_);
}

ServerSocket ScriptedServer::ConnectTo(const std::string& address, int port, const std::string& from)
{
    return ServerSocket::ConnectTo(address, port, from, &stop_);
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
