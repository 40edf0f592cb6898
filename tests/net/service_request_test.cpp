#include "net/institution_list.h"
#include "net/ping_server.h"
#include "net/result_codes.h"
#include "net/service_request.h"

#include "fixtures/local_web_server.h"
#include "servers/scripted_server.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

class ServiceWebServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(web.Start(LocalWebServer::FixtureRoot(), error)) << error;
        port = std::to_string(web.Port());
    }

    LocalWebServer web;
    std::string port;
};

}  // namespace

TEST(ServiceRequestField, FieldsAreSplitAtTheSeparatorByteBeforeDecoding)
{
    const std::string row = "3\xF8" "1002\xF8" "Universit\xE4tsbibliothek\xF8" "UB-N";
    EXPECT_EQ(ServiceRequest::GetField(row, 0), "3");
    EXPECT_EQ(ServiceRequest::GetField(row, 1), "1002");
    EXPECT_EQ(ServiceRequest::GetField(row, 2), "Universitätsbibliothek");
    EXPECT_EQ(ServiceRequest::GetField(row, 3), "UB-N");
    EXPECT_EQ(ServiceRequest::GetField(row, 4), "");
    EXPECT_EQ(ServiceRequest::GetField(row, -1), "");
    EXPECT_EQ(ServiceRequest::GetField("1\xF8\xF8" "Bücherei", 2), "Bücherei");
    EXPECT_EQ(ServiceRequest::GetField("1\xF8\xF8" "x", 1), "");
}

TEST_F(ServiceWebServer, PingJoinsTheReply)
{
    std::string answer;
    EXPECT_EQ(PingServer("127.0.0.1", port + "x", "korvid", &answer, nullptr), UTE_SUCCESS);
    EXPECT_EQ(answer, "Korvid-Web-Server bereit. Skript kv_ping.php antwortet.");
}

TEST_F(ServiceWebServer, InstitutionListOffersThreeInstitutionsByName)
{
    InstitutionChoices choices = RequestInstitutionList("127.0.0.1", port, "korvid", "", nullptr);
    ASSERT_TRUE(choices.received);
    ASSERT_EQ(choices.entries.size(), 3u);
    EXPECT_EQ(choices.entries[0].name, "Stadtbibliothek A");
    EXPECT_EQ(choices.entries[0].id, "1003");
    EXPECT_EQ(choices.entries[0].abbreviation, "STB-A");
    EXPECT_EQ(choices.entries[1].name, "Stadtbibliothek B");
    EXPECT_EQ(choices.entries[2].name, "Universitätsbibliothek Nordstadt");
    EXPECT_EQ(choices.entries[2].id, "1002");
    EXPECT_EQ(choices.selected, 0);

    EXPECT_EQ(RequestInstitutionList("127.0.0.1", port, "korvid", "Stadt", nullptr).selected, 0);
    EXPECT_EQ(RequestInstitutionList("127.0.0.1", port, "korvid", "stadtbibliothek b", nullptr).selected, 1);
    EXPECT_EQ(RequestInstitutionList("127.0.0.1", port, "korvid", "UNIVERSITÄTS", nullptr).selected, 2);
    EXPECT_EQ(RequestInstitutionList("127.0.0.1", port, "korvid", "Zentral", nullptr).selected, -1);
}

TEST_F(ServiceWebServer, QueryReadsTheStatusLine)
{
    ServiceRequest request("127.0.0.1", port);
    std::unique_ptr<ServiceReply> reply = request.Query("korvid/kv_inst_list.php", "SQL=INST_LIST");
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->size(), 5u);
    EXPECT_EQ(request.GetFirstNumber(), 3);
    EXPECT_EQ(request.GetSecondNumber(), 4);
    EXPECT_EQ(request.GetMessage(), "OK");
    ServiceRequest::FreeReply(reply);
    EXPECT_FALSE(reply);

    EXPECT_FALSE(request.Query("korvid/kv_inst_list.php", "SQL=ANDERES"));
    EXPECT_EQ(request.GetFirstNumber(), 0);
    EXPECT_EQ(request.GetMessage(), "Unbekannte Abfrage.\nErwartet wird SQL=INST_LIST.\n");
}

TEST_F(ServiceWebServer, ErrorReplyBecomesTheMessage)
{
    std::string message;
    InstitutionChoices choices = RequestInstitutionList("127.0.0.1", port, "fehler", "Stadt", &message);
    EXPECT_FALSE(choices.received);
    EXPECT_TRUE(choices.entries.empty());
    EXPECT_EQ(choices.selected, -1);
    EXPECT_EQ(message, "FEHLER: Datenbank nicht erreichbar.\nBitte versuchen Sie es später noch einmal.\n");
}

TEST(ServiceUnreachable, PingAndListSayWhy)
{
    const std::string port = std::to_string(UnusedLocalPort());
    std::string error;
    EXPECT_EQ(PingServer("127.0.0.1", port, "korvid", nullptr, &error), UTE_SOCK_CONNECT_FAILED);
    EXPECT_EQ(error, "Fehler 'UTE_SOCK_CONNECT_FAILED'\nbeim Versuch den Web-Server 127.0.0.1 zu kontaktieren!\n"
                     "Verbindung abgelehnt: Auf diesem Port nimmt der Server keine Verbindungen an.");
    std::string message = "none yet";
    InstitutionChoices choices = RequestInstitutionList("127.0.0.1", port, "korvid", "", &message);
    EXPECT_FALSE(choices.received);
    EXPECT_EQ(message, "");
}

TEST(ServiceReplies, ShortAndEmptyReplies)
{
    ScriptedServer server;
    server.Accept().ReadRequest().Send("HTTP/1.0 200 OK\r\n\r\n").Close();
    server.Accept().ReadRequest().Send("HTTP/1.0 200 OK\r\n\r\nOK 0,4\r\nNr\xF8ID\r\n\r\n").Close();
    server.Accept().ReadRequest().Send("HTTP/1.0 200 OK\r\n\r\n\r\nzweite Zeile\r\n").Close();
    server.Start();
    const std::string port = std::to_string(server.Port());

    std::string empty = "none yet";
    EXPECT_FALSE(RequestInstitutionList("127.0.0.1", port, "korvid", "", &empty).received);
    InstitutionChoices onlyHead = RequestInstitutionList("127.0.0.1", port, "korvid", "", nullptr);
    EXPECT_TRUE(onlyHead.received);
    EXPECT_TRUE(onlyHead.entries.empty());
    EXPECT_EQ(onlyHead.selected, -1);
    std::string message;
    EXPECT_FALSE(RequestInstitutionList("127.0.0.1", port, "korvid", "", &message).received);
    server.Finish();

    EXPECT_EQ(empty, "");
    EXPECT_EQ(message, "\nzweite Zeile\n");
    EXPECT_EQ(server.Received().at(0), "GET /korvid/kv_inst_list.php?SQL=INST_LIST HTTP/1.0");
}

TEST(ServiceReplies, PingAsksForTheScriptWithAnEmptyQuery)
{
    ScriptedServer server;
    server.Accept().ReadRequest().Send("HTTP/1.0 200 OK\r\n\r\nerste\r\nzweite\r\n").Close();
    server.Start();
    std::string answer;
    EXPECT_EQ(PingServer("localhost", " " + std::to_string(server.Port()), "korvid", &answer, nullptr), UTE_SUCCESS);
    server.Finish();
    EXPECT_EQ(server.Received(), (Lines{"GET /korvid/kv_ping.php? HTTP/1.0", "Host: localhost"}));
    EXPECT_EQ(answer, "erstezweite");
}
