// A scripted FTP server on 127.0.0.1 for what a real server will not do on demand, run
// by the steps of a ScriptedServer. The test lists the greeting and, command by command,
// the replies; data steps open the data connection the way the client asked for it
// (accepting on the listener that a Passive step opened, or connecting to the address
// of the last PORT command).
#pragma once

#include "servers/scripted_server.h"
#include "servers/server_socket.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct FtpDataStep {
    std::string preliminary = "150 Opening data connection.\r\n";
    std::string data{};  // sent on the data connection by SendData
    std::string final = "226 Transfer complete.\r\n";
    // Active form: connections made first from these local addresses (another host,
    // as far as the client can tell), each held open until the client drops it.
    std::vector<std::string> strayFrom{};
    // Active form: whether the server's own data connection follows the stray ones.
    bool connect = true;
    // A server that falls silent: after the data the data connection stays open, without
    // more bytes, until the client drops it (at most kStallMs), and no final reply comes.
    bool stall = false;
    // How long the final reply waits after the data connection is over (or never made).
    int finalDelayMs = 0;
};

class FakeFtpServer {
public:
    FakeFtpServer();
    FakeFtpServer(const FakeFtpServer&) = delete;
    FakeFtpServer& operator=(const FakeFtpServer&) = delete;

    int Port() const { return script_.Port(); }

    // Sent when the client connects; an empty greeting leaves the client waiting.
    FakeFtpServer& Greet(const std::string& reply);
    // Reads a command and answers with the reply (nothing when it is empty).
    FakeFtpServer& Reply(const std::string& reply);
    // The usual log-in of user and password, with TYPE, MODE and STRU accepted.
    FakeFtpServer& AcceptLogin();
    // Reads a command, opens a data listener on 127.0.0.1 and answers with the reply, in
    // which "{port}" becomes the listener's port as "p1,p2".
    FakeFtpServer& Passive(const std::string& reply = "227 Entering Passive Mode (127,0,0,1,{port}).\r\n");
    // Reads a command; then preliminary reply, data out, data connection closed, final reply.
    FakeFtpServer& SendData(const FtpDataStep& step);
    // Reads a command; then preliminary reply, data in until the client closes, final reply.
    FakeFtpServer& ReceiveData(const FtpDataStep& step = {});
    // Reads a command and falls silent: no reply, the control connection open until the
    // client drops it (at most kStallMs).
    FakeFtpServer& Silent();
    // Closes the control connection.
    FakeFtpServer& Close();

    void Start();
    // Waits until the script ran and the client closed its end (bounded).
    void Finish();

    // The command lines the client sent, without line ends.
    std::vector<std::string> Commands() const;
    // The bytes of every upload, in order.
    std::string Uploaded() const;
    // The ports the client announced with PORT, in order.
    std::vector<int> AnnouncedPorts() const;
    // Whether the client, not the server, ended every silence: it gave up waiting and
    // dropped the silent connection while the server still kept it open.
    bool ClientEndedSilences() const { return !silenceOutlasted_; }

private:
    // Reads one command from the control connection and records it.
    bool ReadCommand(ServerSocket& control);
    ServerSocket OpenData(const FtpDataStep& step);
    FakeFtpServer& Step(std::function<void(ServerSocket& control)> step);

    std::atomic<bool> silenceOutlasted_{false};
    ServerSocket passiveListener_;
    std::string greeting_;
    std::string activeAddress_;
    int activePort_ = 0;
    mutable std::mutex mutex_;
    std::vector<std::string> commands_;
    std::string uploaded_;
    std::vector<int> announcedPorts_;
    // Last: it is destroyed first, so its thread has ended before the members its steps use.
    ScriptedServer script_;
};
