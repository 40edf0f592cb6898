// A scripted TCP server on 127.0.0.1 and an ephemeral port: the test lists the steps
// (accept, send these bytes, read a line, ...) and afterwards reads back what the client
// sent. After the last step the connection stays open until the client closes it.
#pragma once

#include "servers/server_socket.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class ScriptedServer {
public:
    ScriptedServer();
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    int Port() const { return port_; }

    // Steps, run in order on a thread of the server's own once Start is called.
    ScriptedServer& Accept();
    ScriptedServer& Send(const std::string& bytes);
    // Records one line the client sent, without its line end.
    ScriptedServer& ReadLine();
    // Records the lines of a request head up to the empty line.
    ScriptedServer& ReadRequest();
    // Records everything until the client closes, as one entry.
    ScriptedServer& ReadToEnd();
    ScriptedServer& Close();
    ScriptedServer& Pause(int milliseconds);
    // A step of the caller's own on the connection that the last Accept made.
    ScriptedServer& Do(std::function<void(ServerSocket& connection)> step);

    // Sockets for the caller's steps whose waits end when the server is told to stop: a
    // listener on 127.0.0.1 and any free port, and a connection to address:port made
    // from the local address "from" (empty: any).
    ServerSocket Listen();
    ServerSocket ConnectTo(const std::string& address, int port, const std::string& from);

    void Start();
    // Waits until the script ran and the client closed its end (bounded).
    void Finish();

    std::vector<std::string> Received() const;

private:
    void Record(const std::string& text);

    std::atomic<bool> stop_{false};
    ServerSocket listener_;
    ServerSocket connection_;
    int port_ = 0;
    std::vector<std::function<void()>> steps_;
    mutable std::mutex mutex_;
    std::vector<std::string> received_;
    std::thread thread_;
};
