#include "net/result_codes.h"
#include "net/ws_client.h"

#include "fixtures/local_web_server.h"
#include "platform/keep_alive.h"
#include "servers/scripted_server.h"
#include "support/scratch_folder.h"
#include "support/test_files.h"
#include "servers/unanswered_port.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/socket.h>

namespace {

// A transfer source in memory that tells whether it is open.
class MemorySource : public TransferSource {
public:
    explicit MemorySource(std::string bytes = "") : bytes_(std::move(bytes)) {}
    std::unique_ptr<TransferSource> Clone() const override { return std::make_unique<MemorySource>(bytes_); }
    int Open(int mode) override
    {
        open_ = true;
        if (mode == SourceMode::Create)
            bytes_.clear();
        position_ = 0;
        return 0;
    }
    int Close() override
    {
        open_ = false;
        return 0;
    }
    int ReadLine(std::string&, int) override { return 0; }
    int WriteLine(const std::string&) override { return -1; }
    long Read(char* buffer, long size) override
    {
        long count = std::min<long>(size, static_cast<long>(bytes_.size() - position_));
        bytes_.copy(buffer, static_cast<size_t>(count), position_);
        position_ += static_cast<size_t>(count);
        return count;
    }
    long Write(const char* data, long length) override
    {
        bytes_.append(data, static_cast<size_t>(length));
        return length;
    }
    long Seek(long, int) override { return -1; }
    long Find(const std::string&, long, bool, long) override { return -1; }

    bool open_ = false;
    std::string bytes_;

private:
    size_t position_ = 0;
};

// A client whose progress hooks stop a transfer after the first chunk.
class StoppingClient : public CUT_WSClient {
public:
    int OnReceiveProgress(long bytesSoFar) override
    {
        reported = bytesSoFar;
        return 0;
    }
    int OnSendProgress(long bytesSoFar) override
    {
        reported = bytesSoFar;
        return 0;
    }
    long reported = 0;
};

// A client whose transport never becomes readable, whatever its socket holds.
class NeverReadableClient : public CUT_WSClient {
public:
    int RawWaitReadable(SocketHandle, int, int) override
    {
        ++waits;
        return 1;
    }
    int waits = 0;
};

// A client on a transport of its own: its raw-call slots serve a fixed text on a handle
// that is no socket.
class ServedClient : public CUT_WSClient {
public:
    static constexpr SocketHandle kHandle = 1 << 28;
    explicit ServedClient(std::string bytes) : bytes_(std::move(bytes)) {}
    void Open() { AdoptConnection(kHandle); }
    int RawReceive(SocketHandle socket, char* buffer, int size, int flags) override
    {
        EXPECT_EQ(socket, kHandle);
        int count = std::min(size, static_cast<int>(bytes_.size()));
        bytes_.copy(buffer, static_cast<size_t>(count));
        if (!(flags & MSG_PEEK))
            bytes_.erase(0, static_cast<size_t>(count));
        return count;
    }
    int RawSend(SocketHandle, const char* data, int length, int) override
    {
        sent.append(data, static_cast<size_t>(length));
        return length;
    }
    int RawWaitReadable(SocketHandle, int, int) override { return 0; }
    int RawShutdown(SocketHandle socket, int) override
    {
        closed.push_back(socket);
        return 0;
    }
    int RawClose(SocketHandle socket) override
    {
        closed.push_back(socket);
        return 0;
    }
    std::string sent;
    std::vector<SocketHandle> closed;

private:
    std::string bytes_;
};

int ConnectTo(CUT_WSClient& client, const ScriptedServer& server)
{
    return client.Connect(server.Port(), "127.0.0.1", 5);
}

}  // namespace

TEST(WSClientConnect, SecondConnectLeavesTheOpenConnectionAlone)
{
    ScriptedServer server;
    server.Accept().ReadLine();
    server.Start();
    CUT_WSClient client;
    ASSERT_EQ(ConnectTo(client, server), UTE_SUCCESS);
    EXPECT_EQ(client.GetRemotePort(), server.Port());
    EXPECT_GT(client.GetLocalPort(), 0);
    EXPECT_EQ(client.GetAddress(), "127.0.0.1");

    EXPECT_EQ(client.Connect(server.Port(), "127.0.0.1", 5), UTE_SOCK_ALREADY_OPEN);
    EXPECT_EQ(client.Send("noch da\r\n"), 9);
    client.CloseConnection();
    server.Finish();
    EXPECT_EQ(server.Received(), std::vector<std::string>{"noch da"});
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(client.GetAddress(), "");
    EXPECT_EQ(client.GetRemotePort(), 0);
}

TEST(WSClientConnect, FailuresCloseTheSocket)
{
    CUT_WSClient client;
    EXPECT_EQ(client.Connect(80, "kein-rechner.invalid", 5), UTE_INVALID_ADDRESS);
    EXPECT_EQ(client.Connect(UnusedLocalPort(), "127.0.0.1", 5), UTE_SOCK_CONNECT_FAILED);
    EXPECT_FALSE(client.IsConnected());

    // A peer that never answers ends the connect by its time-out.
    UnansweredPort silent;
    ASSERT_GT(silent.Port(), 0);
    EXPECT_EQ(client.Connect(silent.Port(), "127.0.0.1", 1), UTE_CONNECT_TIMEOUT);
    EXPECT_FALSE(client.IsConnected());
    // Without a time-out of its own, the send time-out bounds the connect.
    client.SetSendTimeout(500);
    EXPECT_EQ(client.Connect(silent.Port(), "127.0.0.1", -1), UTE_CONNECT_TIMEOUT);
    EXPECT_FALSE(client.IsConnected());
}

TEST(WSClientConnect, ConnectBoundUsesTheGivenLocalAddress)
{
    ScriptedServer server;
    server.Accept();
    server.Start();
    CUT_WSClient client;
    ASSERT_EQ(client.ConnectBound(0, server.Port(), "127.0.0.1", "127.0.0.1"), UTE_SUCCESS);
    std::string local;
    EXPECT_EQ(client.GetLocalAddress(local, 1), UTE_SUCCESS);
    EXPECT_EQ(local, "127.0.0.1");
    EXPECT_EQ(client.ConnectBound(0, server.Port(), "127.0.0.1", "127.0.0.1"), UTE_SOCK_ALREADY_OPEN);
    client.CloseConnection();
    EXPECT_EQ(client.ConnectBound(0, server.Port(), "10.1.2.3.4", "127.0.0.1"), UTE_SOCK_BIND_FAILED);
    EXPECT_FALSE(client.IsConnected());
}

TEST(WSClientReceive, ReceiveLineStopsAtTheLineEnd)
{
    ScriptedServer server;
    server.Accept().Send("erste\r\nzweite\r\nabcdefghij\r\n");
    server.Start();
    CUT_WSClient client;
    ASSERT_EQ(ConnectTo(client, server), UTE_SUCCESS);

    std::string line = "alt";
    EXPECT_EQ(client.ReceiveLine(line, 1, 5), 0);
    EXPECT_EQ(line, "");
    EXPECT_EQ(client.ReceiveLine(line, 100, 5), 7);
    EXPECT_EQ(line, "erste\r\n");
    EXPECT_EQ(client.ReceiveLine(line, 100, 5), 8);
    EXPECT_EQ(line, "zweite\r\n");
    EXPECT_EQ(client.ReceiveLine(line, 5, 5), 4);
    EXPECT_EQ(line, "abcd");
    EXPECT_EQ(client.ReceiveLine(line, 5, 5), 4);
    EXPECT_EQ(line, "efgh");
    EXPECT_EQ(client.ReceiveLine(line, 5, 5), 4);
    EXPECT_EQ(line, "ij\r\n");
    // Nothing more comes: the wait ends with its time-out.
    EXPECT_EQ(client.ReceiveLine(line, 100, 1), 0);
    EXPECT_EQ(client.WaitReadable(0, 1000), UTE_ERROR);
}

TEST(WSClientReceive, WaitsForInputGoThroughTheRawCallSlot)
{
    ScriptedServer server;
    server.Accept().Send("bereit\r\n");
    server.Start();
    NeverReadableClient client;
    ASSERT_EQ(ConnectTo(client, server), UTE_SUCCESS);

    std::string line;
    char buffer[16];
    MemorySource sink;
    EXPECT_EQ(client.ReceiveLine(line, 100, 5), 0);
    EXPECT_EQ(client.Receive(buffer, sizeof buffer, 5), 0);
    EXPECT_EQ(client.WaitReadable(5), UTE_ERROR);
    EXPECT_EQ(client.ReceiveToSource(sink, SourceMode::Create, 5), UTE_SOCK_TIMEOUT);
    EXPECT_EQ(client.waits, 4);
    // None of them took a byte: without a wait the line is all there.
    EXPECT_EQ(client.ReceiveLine(line, 100, 0), 8);
    EXPECT_EQ(line, "bereit\r\n");
    client.CloseConnection();
    server.Finish();
}

TEST(WSClientReceive, AnAdoptedConnectionLivesOnTheRawCallSlotsAlone)
{
    ServedClient client("220 bereit\r\nRest");
    EXPECT_FALSE(client.IsConnected());
    client.Open();
    EXPECT_TRUE(client.IsConnected());
    std::string line;
    EXPECT_EQ(client.ReceiveLine(line, 100, 5), 12);
    EXPECT_EQ(line, "220 bereit\r\n");
    EXPECT_EQ(client.Send("QUIT\r\n"), 6);
    EXPECT_EQ(client.sent, "QUIT\r\n");
    EXPECT_EQ(client.CloseConnection(), UTE_SUCCESS);
    EXPECT_EQ(client.closed, (std::vector<SocketHandle>{ServedClient::kHandle, ServedClient::kHandle}));
    EXPECT_FALSE(client.IsConnected());
}

TEST(WSClientReceive, ReceiveTimeoutSetBeforeConnectingBoundsEveryReceive)
{
    ScriptedServer server;
    server.Accept();
    server.Start();
    CUT_WSClient client;
    EXPECT_EQ(client.SetReceiveTimeout(300), UTE_SUCCESS);
    ASSERT_EQ(ConnectTo(client, server), UTE_SUCCESS);
    char buffer[16];
    EXPECT_EQ(client.Receive(buffer, sizeof buffer, 0), -1);
    std::string line;
    EXPECT_EQ(client.ReceiveLine(line, 100, 0), 0);
    EXPECT_EQ(client.GetReceiveTimeout(), 300);
    EXPECT_EQ(client.SetReceiveTimeout(-1), UTE_ERROR);
    EXPECT_EQ(client.GetReceiveTimeout(), 300);
}

TEST(WSClientReceive, ReceiveToSourceWritesEverythingUntilThePeerCloses)
{
    const std::string bytes = PatternBytes(3000);
    ScriptedServer server;
    server.Accept().Send(bytes).Close();
    server.Start();
    ScratchFolder folder;
    WriteTestFile(folder / "ziel.bin", "alt");
    CUT_WSClient client;
    ASSERT_EQ(ConnectTo(client, server), UTE_SUCCESS);
    EXPECT_EQ(client.ReceiveFile(folder / "ziel.bin", SourceMode::Append, 5), UTE_SUCCESS);
    EXPECT_EQ(ReadTestFile(folder / "ziel.bin"), "alt" + bytes);
}

TEST(WSClientReceive, ReceiveToSourceRefusesBadModesAndMissingConnections)
{
    CUT_WSClient client;
    MemorySource source;
    EXPECT_EQ(client.ReceiveToSource(source, SourceMode::Create), UTE_SOCK_NOT_OPEN);

    ScriptedServer server;
    server.Accept().Send("x");
    server.Start();
    ASSERT_EQ(ConnectTo(client, server), UTE_SUCCESS);
    EXPECT_EQ(client.ReceiveToSource(source, SourceMode::Read), UTE_FILE_TYPE_ERROR);
    EXPECT_EQ(client.ReceiveToSource(source, 3), UTE_FILE_TYPE_ERROR);
    EXPECT_FALSE(source.open_);
    ScratchFolder folder;
    EXPECT_EQ(client.ReceiveFile(folder / "fehlt/x.bin", SourceMode::Create), UTE_DS_OPEN_FAILED);
}

TEST(WSClientReceive, MaxLengthEndsTheTransferAndTimeoutGivesSockTimeout)
{
    ScriptedServer server;
    server.Accept().Send(PatternBytes(5000));
    server.Start();
    CUT_WSClient client;
    ASSERT_EQ(ConnectTo(client, server), UTE_SUCCESS);
    MemorySource source;
    EXPECT_EQ(client.ReceiveToSource(source, SourceMode::Create, 5, 1500), UTE_SUCCESS);
    EXPECT_EQ(source.bytes_, PatternBytes(5000).substr(0, 1500));
    EXPECT_EQ(client.ReceiveToOpenSource(source, 5, 3500), UTE_SUCCESS);
    EXPECT_EQ(source.bytes_.size(), 5000u);
    EXPECT_EQ(client.ReceiveToSource(source, SourceMode::Create, 1, 0), UTE_SOCK_TIMEOUT);
}

TEST(WSClientReceive, ProgressHookStopsTheTransferAndTheSourceIsClosed)
{
    ScriptedServer server;
    server.Accept().Send(PatternBytes(8000)).Close();
    server.Start();
    StoppingClient client;
    ASSERT_EQ(ConnectTo(client, server), UTE_SUCCESS);
    MemorySource source;
    EXPECT_EQ(client.ReceiveToSource(source, SourceMode::Create, 5), UTE_ABORTED);
    EXPECT_FALSE(source.open_);
    EXPECT_EQ(client.reported, static_cast<long>(source.bytes_.size()));
    EXPECT_LE(source.bytes_.size(), 1024u);
}

// A sink that takes every write, or refuses writes from the given one on, and may fail
// to close the way a full disk reports itself at close.
class RefusingSource : public MemorySource {
public:
    long Write(const char* data, long length) override
    {
        if (++writes >= refuseFrom && refuseFrom > 0)
            return length / 2;
        return MemorySource::Write(data, length);
    }
    int Close() override
    {
        MemorySource::Close();
        return failClose ? -1 : 0;
    }
    int writes = 0;
    int refuseFrom = 0;
    bool failClose = false;
};

TEST(WSClientReceive, AWriteRefusedLateOrAtCloseFailsTheTransfer)
{
    const std::string bytes = PatternBytes(300000);
    // Refused: the first write, the second (a whole block in), and none but the close.
    for (int refuseFrom : {1, 2, 0}) {
        ScriptedServer server;
        server.Accept().Send(bytes).Close();
        server.Start();
        CUT_WSClient client;
        ASSERT_EQ(ConnectTo(client, server), UTE_SUCCESS);
        RefusingSource sink;
        sink.refuseFrom = refuseFrom;
        sink.failClose = refuseFrom == 0;
        EXPECT_EQ(client.ReceiveToSource(sink, SourceMode::Create, 5), UTE_DS_WRITE_FAILED) << refuseFrom;
        EXPECT_FALSE(sink.open_);
        if (sink.failClose) {
            EXPECT_EQ(sink.bytes_, bytes);
        }
    }
}

TEST(WSClientSend, SendFromSourceSendsTheWholeFile)
{
    const std::string bytes = PatternBytes(1000);  // several 255-byte chunks
    ScriptedServer server;
    server.Accept().ReadToEnd();
    server.Start();
    ScratchFolder folder;
    WriteTestFile(folder / "quelle.bin", bytes);
    CUT_WSClient client;
    ASSERT_EQ(ConnectTo(client, server), UTE_SUCCESS);
    EXPECT_EQ(client.SendFile(folder / "quelle.bin"), UTE_SUCCESS);
    EXPECT_EQ(client.SendFile(folder / "fehlt.bin"), UTE_DS_OPEN_FAILED);
    client.CloseConnection();
    server.Finish();
    EXPECT_EQ(server.Received(), std::vector<std::string>{bytes});
    MemorySource source("x");
    EXPECT_EQ(client.SendFromSource(source), UTE_SOCK_NOT_OPEN);
}

TEST(WSClientSend, SendProgressHookStopsAfterTheFirstChunk)
{
    ScriptedServer server;
    server.Accept().ReadToEnd();
    server.Start();
    StoppingClient client;
    ASSERT_EQ(ConnectTo(client, server), UTE_SUCCESS);
    MemorySource source(PatternBytes(1000));
    EXPECT_EQ(client.SendFromSource(source), UTE_ABORTED);
    EXPECT_EQ(client.reported, 255);
    EXPECT_FALSE(source.open_);
    client.CloseConnection();
    server.Finish();
    EXPECT_EQ(server.Received().at(0).size(), 255u);
}

TEST(WSClientSend, SendInLinesEndsEveryBlockWithCrLf)
{
    ScriptedServer server;
    server.Accept().ReadToEnd();
    server.Start();
    CUT_WSClient client;
    ASSERT_EQ(ConnectTo(client, server), UTE_SUCCESS);
    EXPECT_EQ(client.SendInLines("abcdefgh", -1, 3), 8);
    client.CloseConnection();
    server.Finish();
    EXPECT_EQ(server.Received(), std::vector<std::string>{"abc\r\ndef\r\ngh\r\n"});
    EXPECT_EQ(client.Send("nicht verbunden"), 0);
}

TEST(WSClientSend, PeerThatClosedMakesSendsFailWithoutSigpipe)
{
    // With the default action a SIGPIPE would end this test program.
    auto previous = std::signal(SIGPIPE, SIG_DFL);
    ScriptedServer server;
    server.Accept().Close();
    server.Start();
    CUT_WSClient client;
    ASSERT_EQ(ConnectTo(client, server), UTE_SUCCESS);
    std::string line;
    EXPECT_EQ(client.ReceiveLine(line, 10, 5), 0);  // the peer's end is closed
    MemorySource source(PatternBytes(200000));
    EXPECT_EQ(client.SendFromSource(source), UTE_SOCK_SEND_ERROR);
    EXPECT_EQ(client.Send("x"), 0);
    std::signal(SIGPIPE, previous);
}

TEST(WSClientReceive, ClearReceiveBufferDropsWhatIsWaiting)
{
    ScriptedServer server;
    server.Accept().Send("alt 1\r\nalt 2\r\n").ReadLine().Send("neu\r\n");
    server.Start();
    CUT_WSClient client;
    ASSERT_EQ(ConnectTo(client, server), UTE_SUCCESS);
    ASSERT_EQ(client.WaitReadable(5), UTE_SUCCESS);
    EXPECT_EQ(client.ClearReceiveBuffer(), UTE_SUCCESS);
    client.Send("weiter\r\n");
    std::string line;
    EXPECT_EQ(client.ReceiveLine(line, 100, 5), 5);
    EXPECT_EQ(line, "neu\r\n");
}

TEST(WSClientListen, AcceptsAConnectionAndRecordsThePeer)
{
    CUT_WSClient listener;
    ASSERT_EQ(listener.Listen(0, 1, 2, "127.0.0.1"), UTE_SUCCESS);
    ASSERT_GT(listener.GetListenPort(), 0);
    EXPECT_EQ(listener.Listen(0, 1), UTE_SOCK_ALREADY_OPEN);
    EXPECT_EQ(listener.WaitForAccept(0), UTE_ERROR);

    CUT_WSClient caller;
    ASSERT_EQ(caller.Connect(listener.GetListenPort(), "127.0.0.1", 5), UTE_SUCCESS);
    ASSERT_EQ(listener.WaitForAccept(5), UTE_SUCCESS);
    ASSERT_EQ(listener.AcceptConnection(), UTE_SUCCESS);
    EXPECT_EQ(listener.GetAddress(), "127.0.0.1");
    EXPECT_EQ(listener.GetRemotePort(), caller.GetLocalPort());
    EXPECT_EQ(listener.GetLocalPort(), listener.GetListenPort());

    caller.Send("hallo\r\n");
    std::string line;
    EXPECT_EQ(listener.ReceiveLine(line, 100, 5), 7);
    EXPECT_EQ(listener.CloseConnection(), UTE_SUCCESS);
    EXPECT_EQ(listener.GetListenPort(), 0);
    EXPECT_EQ(listener.AcceptConnection(), UTE_ERROR);

    CUT_WSClient busy;
    EXPECT_EQ(busy.Listen(caller.GetLocalPort(), 1, 2, "127.0.0.1"), UTE_SOCK_BIND_FAILED);
}

TEST(WSClientDatagram, SendToAndReceiveFromAnswerTheSender)
{
    CUT_WSClient first;
    CUT_WSClient second;
    char buffer[64] = {};
    int length = 4;
    EXPECT_EQ(first.SendTo("ping", length), UTE_SOCK_NOT_OPEN);
    EXPECT_EQ(first.ReceiveFrom(buffer, length, 1), UTE_SOCK_NOT_OPEN);

    ASSERT_EQ(second.OpenDatagram(0, 9, "127.0.0.1", "127.0.0.1"), UTE_SUCCESS);
    ASSERT_EQ(first.OpenDatagram(0, second.GetLocalPort(), "127.0.0.1"), UTE_SUCCESS);
    length = 4;
    ASSERT_EQ(first.SendTo("ping", length), UTE_SUCCESS);
    EXPECT_EQ(length, 4);

    int size = sizeof buffer;
    ASSERT_EQ(second.ReceiveFrom(buffer, size, 5), UTE_SUCCESS);
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(size)), "ping");
    // The sender was recorded: the answer goes back to it.
    length = 4;
    ASSERT_EQ(second.SendTo("pong", length), UTE_SUCCESS);
    size = sizeof buffer;
    ASSERT_EQ(first.ReceiveFrom(buffer, size, 5), UTE_SUCCESS);
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(size)), "pong");

    size = sizeof buffer;
    EXPECT_EQ(first.ReceiveFrom(buffer, size, 1), UTE_SOCK_TIMEOUT);
    EXPECT_EQ(first.OpenDatagram(0, 9, "127.0.0.1"), UTE_SOCK_ALREADY_OPEN);
}

TEST(WSClientAddresses, ResolveHostAndDottedAddresses)
{
    CUT_WSClient client;
    std::string address;
    EXPECT_EQ(client.ResolveHost("localhost", address), UTE_SUCCESS);
    EXPECT_EQ(address, "127.0.0.1");
    address.clear();
    EXPECT_EQ(client.ResolveHost("nutzer@localhost", address), UTE_SUCCESS);
    EXPECT_EQ(address, "127.0.0.1");
    EXPECT_EQ(client.ResolveHost("localhost", address, 5), UTE_BUFFER_TOO_SHORT);
    EXPECT_EQ(client.ResolveHost("kein-rechner.invalid", address), UTE_NAME_LOOKUP_FAILED);

    EXPECT_TRUE(CUT_WSClient::IsDottedAddress("127.0.0.1"));
    EXPECT_TRUE(CUT_WSClient::IsDottedAddress("255.255.255.255"));
    EXPECT_FALSE(CUT_WSClient::IsDottedAddress("256.1.1.1"));
    EXPECT_FALSE(CUT_WSClient::IsDottedAddress("1.2.3"));
    EXPECT_FALSE(CUT_WSClient::IsDottedAddress("localhost"));
    EXPECT_FALSE(CUT_WSClient::IsDottedAddress(""));

    EXPECT_EQ(client.GetLocalAddress(address, 1), UTE_ERROR);
}

// A client that records the size of every receive it asks for and every progress total,
// and stops at the first step that reaches stopAt.
class RecordingClient : public CUT_WSClient {
public:
    int RawReceive(SocketHandle socket, char* buffer, int size, int flags) override
    {
        asked.push_back(size);
        return CUT_WSClient::RawReceive(socket, buffer, size, flags);
    }
    int OnReceiveProgress(long bytesSoFar) override
    {
        totals.push_back(bytesSoFar);
        return stopAt == 0 || bytesSoFar < stopAt;
    }
    long stopAt = 0;
    std::vector<int> asked;
    std::vector<long> totals;
};

// The totals the progress hook sees for a receive of length bytes in steps of step bytes.
std::vector<long> StepTotals(long length, long step)
{
    std::vector<long> totals;
    for (long total = step; total < length; total += step)
        totals.push_back(total);
    totals.push_back(length);
    return totals;
}

TEST(WSClientReceive, LargeReadsAreHandedOnInSteps)
{
    const std::string bytes = PatternBytes((1 << 20) + 300);
    ScriptedServer server;
    server.Accept().Send(bytes).Close();
    server.Start();
    RecordingClient client;
    ASSERT_EQ(ConnectTo(client, server), UTE_SUCCESS);
    MemorySource sink;
    EXPECT_EQ(client.ReceiveToSource(sink, SourceMode::Create, 5), UTE_SUCCESS);
    EXPECT_EQ(sink.bytes_, bytes);
    EXPECT_EQ(client.totals, StepTotals(static_cast<long>(bytes.size()), 1024));
    for (int size : client.asked)
        EXPECT_GE(size, 64 * 1024);
}

TEST(WSClientReceive, AHookThatStopsMidTransferEndsAtTheNextStep)
{
    const std::string bytes = PatternBytes(300000);
    for (int chunk : {1024, 256}) {
        ScriptedServer server;
        server.Accept().Send(bytes).Close();
        server.Start();
        RecordingClient client;
        client.stopAt = 100000;
        ASSERT_EQ(ConnectTo(client, server), UTE_SUCCESS);
        MemorySource sink;
        int result = chunk == 1024 ? client.ReceiveToSource(sink, SourceMode::Create, 5)
                                   : client.ReceiveToOpenSource(sink, 5);
        EXPECT_EQ(result, UTE_ABORTED);
        const long stop = (client.stopAt + chunk - 1) / chunk * chunk;
        EXPECT_EQ(client.totals, StepTotals(stop, chunk)) << chunk;
        EXPECT_EQ(sink.bytes_, bytes.substr(0, static_cast<size_t>(stop))) << chunk;
    }
}

TEST(WSClientReceive, ATransferThatTricklesEndsWithTheLowSpeedLimit)
{
    ScriptedServer server;
    server.Accept();
    for (int i = 0; i < 40; ++i)
        server.Send("x").Pause(50);
    server.Close();
    server.Start();
    CUT_WSClient client;
    client.SetLowSpeedLimit(1024, 300);
    ASSERT_EQ(ConnectTo(client, server), UTE_SUCCESS);
    MemorySource sink;
    EXPECT_EQ(client.ReceiveToSource(sink, SourceMode::Create, 0), UTE_SOCK_TIMEOUT);
    EXPECT_LT(sink.bytes_.size(), 40u);
}

// A data connection that stalls ends with the receive time-out as a blocking receive
// would, and the desktop is kept alive while it waits.
TEST(WSClientReceive, AStalledTransferKeepsTheDesktopAliveUntilTheReceiveTimeout)
{
    struct CountingKeepAlive : DesktopKeepAlive {
        void HandlePending(bool) override { ++calls; }
        int calls = 0;
    } keepAlive;
    InstallDesktopKeepAlive(&keepAlive);
    ScriptedServer server;
    server.Accept().Send("ab");
    server.Start();
    CUT_WSClient client;
    client.SetReceiveTimeout(400);
    ASSERT_EQ(ConnectTo(client, server), UTE_SUCCESS);
    MemorySource sink;
    EXPECT_EQ(client.ReceiveToSource(sink, SourceMode::Create, 0), UTE_SOCK_RECEIVE_ERROR);
    InstallDesktopKeepAlive(nullptr);
    EXPECT_EQ(sink.bytes_, "ab");
    EXPECT_GT(keepAlive.calls, 0);
}
