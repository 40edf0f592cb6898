#include "net/http_client.h"
#include "net/result_codes.h"

#include "fixtures/local_web_server.h"
#include "servers/scripted_server.h"
#include "support/scratch_folder.h"
#include "support/test_files.h"
#include "servers/unanswered_port.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

const char* const kReply =
    "HTTP/1.0 200 OK\r\n"
    "Content-Type: text/plain\r\n"
    "\r\n"
    "Zeile 1\r\n"
    "Zeile 2\n";

// One connection: read the request head, send the reply, close.
void ServeOnce(ScriptedServer& server, const std::string& reply)
{
    server.Accept().ReadRequest().Send(reply).Close();
}

std::string Url(const ScriptedServer& server, const std::string& host, const std::string& path)
{
    return "http://" + host + ":" + std::to_string(server.Port()) + path;
}

}  // namespace

TEST(HttpClientGet, RequestLineCarriesPathAndQueryAndHostLineTheHostOnly)
{
    ScriptedServer server;
    ServeOnce(server, kReply);
    server.Start();
    HttpClient client;
    ASSERT_EQ(client.Get(Url(server, "localhost", "/korvid/kv_inst_list.php?SQL=INST_LIST#oben")), UTE_SUCCESS);
    server.Finish();
    EXPECT_EQ(server.Received(), (Lines{"GET /korvid/kv_inst_list.php?SQL=INST_LIST HTTP/1.0", "Host: localhost"}));
    EXPECT_EQ(client.GetPort(), server.Port());
    EXPECT_EQ(client.GetHeaderLineCount(), 2);
    EXPECT_EQ(client.GetHeaderLine(0), "HTTP/1.0 200 OK");
    EXPECT_EQ(client.GetBodyLines(), (Lines{"Zeile 1", "Zeile 2"}));
    EXPECT_FALSE(client.IsConnected());
}

TEST(HttpClientGet, ColonInTheQueryIsNoPort)
{
    ScriptedServer server;
    ServeOnce(server, kReply);
    server.Start();
    HttpClient client;
    ASSERT_EQ(client.SetPort(server.Port()), 0);
    ASSERT_EQ(client.Get("http://127.0.0.1/x?zeit=12:30"), UTE_SUCCESS);
    server.Finish();
    EXPECT_EQ(server.Received().at(0), "GET /x?zeit=12:30 HTTP/1.0");
    EXPECT_EQ(client.GetPort(), server.Port());
}

TEST(HttpClientGet, StatusDoesNotDecideTheOutcome)
{
    ScriptedServer server;
    ServeOnce(server, "HTTP/1.0 404 Not Found\r\n\r\nGibt es nicht.\r\n");
    server.Start();
    HttpClient client;
    EXPECT_EQ(client.Get(Url(server, "127.0.0.1", "/fehlt.php")), UTE_SUCCESS);
    EXPECT_EQ(client.GetHeaderLine(0), "HTTP/1.0 404 Not Found");
    EXPECT_EQ(client.GetBodyLines(), Lines{"Gibt es nicht."});
}

TEST(HttpClientGet, LongBodyLineStaysOneLine)
{
    const std::string longLine = PatternBytes(70000);
    const std::string exactLine = PatternBytes(65535);  // its CR LF is cut apart
    ScriptedServer server;
    ServeOnce(server, "HTTP/1.0 200 OK\r\n\r\n" + longLine + "\r\n" + exactLine + "\r\nkurz\r\n\r\nende");
    server.Start();
    HttpClient client;
    ASSERT_EQ(client.Get(Url(server, "127.0.0.1", "/")), UTE_SUCCESS);
    ASSERT_EQ(client.GetBodyLineCount(), 5);
    EXPECT_EQ(client.GetBodyLine(0), longLine);
    EXPECT_EQ(client.GetBodyLine(1), exactLine);
    EXPECT_EQ(client.GetBodyLine(2), "kurz");
    EXPECT_EQ(client.GetBodyLine(3), "");
    EXPECT_EQ(client.GetBodyLine(4), "ende");
    EXPECT_EQ(client.GetBodyLine(5), "");
}

TEST(HttpClientGet, TwoGetsSendOneHostLineEach)
{
    ScriptedServer server;
    ServeOnce(server, kReply);
    ServeOnce(server, kReply);
    server.Start();
    HttpClient client;
    client.AddHeader("X-Vorher: 1");  // auto-clear drops it at the start of the GET
    ASSERT_EQ(client.Get(Url(server, "127.0.0.1", "/eins")), UTE_SUCCESS);
    ASSERT_EQ(client.Get(Url(server, "127.0.0.1", "/zwei")), UTE_SUCCESS);
    server.Finish();
    EXPECT_EQ(server.Received(),
              (Lines{"GET /eins HTTP/1.0", "Host: 127.0.0.1", "GET /zwei HTTP/1.0", "Host: 127.0.0.1"}));
}

TEST(HttpClientGet, ExtraHeadersAreSentWithoutAutoClear)
{
    ScriptedServer server;
    ServeOnce(server, kReply);
    ServeOnce(server, kReply);
    server.Start();
    HttpClient client;
    client.SetAutoClear(0);
    client.AddHeader("Accept: text/plain");
    client.AddHeader("X-Fertig: ja\r\n");
    ASSERT_EQ(client.Get(Url(server, "127.0.0.1", "")), UTE_SUCCESS);
    ASSERT_EQ(client.Get(Url(server, "127.0.0.1", "?nur=abfrage")), UTE_SUCCESS);
    server.Finish();
    EXPECT_EQ(server.Received(),
              (Lines{"GET / HTTP/1.0", "Accept: text/plain", "X-Fertig: ja", "Host: 127.0.0.1",
                     "GET /?nur=abfrage HTTP/1.0", "Accept: text/plain", "X-Fertig: ja", "Host: 127.0.0.1"}));
}

TEST(HttpClientGet, BodyIntoAFileAndSavedBodyLines)
{
    ScriptedServer server;
    ServeOnce(server, "HTTP/1.0 200 OK\r\n\r\nroh\nbytes\r\n");
    ServeOnce(server, kReply);
    server.Start();
    ScratchFolder folder;
    HttpClient client;
    ASSERT_EQ(client.GetToFile(Url(server, "127.0.0.1", "/a"), folder / "body.bin"), UTE_SUCCESS);
    EXPECT_EQ(ReadTestFile(folder / "body.bin"), "roh\nbytes\r\n");
    ASSERT_EQ(client.GetToFile(Url(server, "127.0.0.1", "/b"), ""), UTE_SUCCESS);
    ASSERT_EQ(client.SaveBody(folder / "zeilen.txt"), UTE_SUCCESS);
    EXPECT_EQ(ReadTestFile(folder / "zeilen.txt"), "Zeile 1\r\nZeile 2\r\n");
    EXPECT_EQ(client.SaveBody(folder / "fehlt/zeilen.txt"), UTE_FILE_OPEN_ERROR);
}

TEST(HttpClientGet, ConnectionFailures)
{
    HttpClient client;
    EXPECT_EQ(client.Get(""), UTE_BAD_URL);
    EXPECT_EQ(client.Get("http://127.0.0.1:80x/"), UTE_BAD_URL);
    EXPECT_EQ(client.Get("http://kein-rechner.invalid/"), UTE_BAD_URL);
    EXPECT_EQ(client.Get("http://127.0.0.1:" + std::to_string(UnusedLocalPort()) + "/"), UTE_SOCK_CONNECT_FAILED);
    UnansweredPort silent;
    client.SetConnectTimeout(1);
    EXPECT_EQ(client.Get("http://127.0.0.1:" + std::to_string(silent.Port()) + "/"), UTE_CONNECT_TIMEOUT);
}

TEST(HttpClientGet, SilentServerEndsByTheReceiveTimeout)
{
    ScriptedServer server;
    server.Accept().ReadRequest().Send("HTTP/1.0 200 OK\r\n\r\nerste Zeile\r\n");
    server.Start();
    HttpClient client;
    EXPECT_EQ(client.Get(Url(server, "127.0.0.1", "/"), nullptr, 1000), UTE_SUCCESS);
    EXPECT_EQ(client.GetBodyLines(), Lines{"erste Zeile"});
    EXPECT_EQ(client.GetReceiveTimeout(), 1000);
}

TEST(HttpClientUrl, SplitUrlTakesHostPortAndPath)
{
    HttpClient client;
    std::string path;
    EXPECT_EQ(client.SplitUrl("http://127.0.0.1:8080/a/b.php?x=1#teil", path), UTE_SUCCESS);
    EXPECT_EQ(client.GetHostName(), "127.0.0.1");
    EXPECT_EQ(client.GetPort(), 8080);
    EXPECT_EQ(path, "/a/b.php?x=1");
    EXPECT_EQ(client.SplitUrl("127.0.0.2\\korvid\\kv_ping.php?", path), UTE_SUCCESS);
    EXPECT_EQ(client.GetHostName(), "127.0.0.2");
    EXPECT_EQ(client.GetPort(), 8080);
    EXPECT_EQ(path, "/korvid/kv_ping.php?");
    EXPECT_EQ(client.SplitUrl("http://127.0.0.1", path), UTE_SUCCESS);
    EXPECT_EQ(path, "");
    EXPECT_EQ(client.SplitUrl("http://127.0.0.1:/x", path), UTE_SUCCESS);
    EXPECT_EQ(client.GetPort(), 8080);
    EXPECT_EQ(path, "/x");
    EXPECT_EQ(client.SplitUrl("http://127.0.0.1:70000/x", path), UTE_BAD_URL);
    EXPECT_EQ(client.SplitUrl("http://" + std::string(256, 'h') + "/", path), UTE_SERVER_SET_NAME_FAILED);
    // A control character would end the request line inside the path.
    EXPECT_EQ(client.SplitUrl("http://127.0.0.1/kv_ping.php?a\r\nX-Zusatz: 1", path), UTE_BAD_URL);
    EXPECT_EQ(client.SplitUrl("http://127.0.0.1/kv_ping.php?a\nb", path), UTE_BAD_URL);
    EXPECT_EQ(client.SplitUrl(std::string("http://127.0.0.1/a\0b", 20), path), UTE_BAD_URL);
    EXPECT_EQ(client.SplitUrl("http://127.0.0.1/a\tb\x7F", path), UTE_BAD_URL);

    EXPECT_EQ(client.SetHost(std::string(256, 'h')), UTE_PARAMETER_TOO_LONG);
    EXPECT_EQ(client.SetHost("localhost"), UTE_SUCCESS);
    EXPECT_EQ(client.SetHost("kein-rechner.invalid"), UTE_ERROR);
    EXPECT_EQ(client.SetPort(-1), 1);
    EXPECT_EQ(client.SetPort(65536), 1);
    EXPECT_EQ(client.GetPort(), 8080);
}

// A client that answers every name itself, the way a transport of its own would.
class OwnNamesClient : public HttpClient {
public:
    int ResolveHost(const std::string& name, std::string& address, size_t) override
    {
        asked.push_back(name);
        address = "127.0.0.9";
        return OnError(UTE_SUCCESS);
    }
    std::vector<std::string> asked;
};

TEST(HttpClientUrl, HostNamesAreLookedUpThroughTheClientsOwnResolveHost)
{
    OwnNamesClient client;
    std::string path;
    EXPECT_EQ(client.SplitUrl("http://lager.beispiel/x", path), UTE_SUCCESS);
    EXPECT_EQ(client.SplitUrl("http://127.0.0.1/x", path), UTE_SUCCESS);
    EXPECT_EQ(client.asked, Lines{"lager.beispiel"});
}

TEST(HttpClientMethods, HeadPutDeleteAndRequest)
{
    ScriptedServer server;
    server.Accept().ReadRequest().Send("HTTP/1.0 200 OK\r\nContent-Length: 99\r\n\r\n").Close();
    server.Accept().ReadRequest().ReadLine().Send("HTTP/1.0 201 Created\r\n\r\nangelegt\r\n").Close();
    server.Accept().ReadRequest().Send("HTTP/1.0 204 No Content\r\n\r\n").Close();
    server.Accept().ReadRequest().ReadLine().Send("HTTP/1.0 200 OK\r\n\r\nantwort\r\n").Close();
    server.Start();
    ScratchFolder folder;
    WriteTestFile(folder / "hoch.txt", "Inhalt der Datei");
    HttpClient client;
    ASSERT_EQ(client.Head(Url(server, "127.0.0.1", "/kopf")), UTE_SUCCESS);
    EXPECT_EQ(client.GetHeaderLine(1), "Content-Length: 99");
    EXPECT_EQ(client.GetBodyLineCount(), 0);
    ASSERT_EQ(client.PutFile(Url(server, "127.0.0.1", "/ablage/hoch.txt"), folder / "hoch.txt"), UTE_SUCCESS);
    EXPECT_EQ(client.GetBodyLines(), Lines{"angelegt"});
    ASSERT_EQ(client.Delete(Url(server, "127.0.0.1", "/ablage/hoch.txt")), UTE_SUCCESS);
    EXPECT_EQ(client.GetHeaderLine(0), "HTTP/1.0 204 No Content");
    ASSERT_EQ(client.Request("POST", Url(server, "127.0.0.1", "/senden"), "a=1"), UTE_SUCCESS);
    EXPECT_EQ(client.GetBodyLines(), Lines{"antwort"});
    EXPECT_EQ(client.PutFile(Url(server, "127.0.0.1", "/x"), folder / "fehlt.txt"), UTE_DS_OPEN_FAILED);
    server.Finish();
    EXPECT_EQ(server.Received(),
              (Lines{"HEAD /kopf HTTP/1.0", "Host: 127.0.0.1",
                     "PUT /ablage/hoch.txt HTTP/1.0", "Content-Length: 16", "Host: 127.0.0.1", "Inhalt der Datei",
                     "DELETE /ablage/hoch.txt HTTP/1.0", "Host: 127.0.0.1",
                     "POST /senden HTTP/1.0", "Host: 127.0.0.1", "a=1"}));
}

TEST(HttpClientGet, HeadIsReadWithTheRequestsOwnTimeoutAndCapped)
{
    std::string manyHeaders;
    for (int i = 0; i < 100; ++i)
        manyHeaders += "X-Zeile: " + std::to_string(i) + "\r\n";
    const struct {
        int pauseMs;
        std::string reply;
        int result, headerLines;
    } cases[] = {
        {6000, kReply, UTE_SUCCESS, 2},  // a slow script
        {0, "HTTP/1.0 200 OK\r\nX-Lang: " + std::string(70000, 'a') + "\r\n\r\nZeile 1\r\n", UTE_SUCCESS, 2},
        {0, "HTTP/1.0 200 OK\r\n" + manyHeaders + "\r\n", UTE_NO_RESPONSE, 100},
    };
    for (const auto& c : cases) {
        ScriptedServer server;
        server.Accept().ReadRequest().Pause(c.pauseMs).Send(c.reply).Close();
        server.Start();
        HttpClient client;
        EXPECT_EQ(client.Get(Url(server, "127.0.0.1", "/langsam.php"), nullptr, 10000), c.result);
        EXPECT_EQ(client.GetHeaderLineCount(), c.headerLines);
        EXPECT_EQ(client.GetBodyLine(0), c.result == UTE_SUCCESS ? "Zeile 1" : "");
    }
}
