// The web server test of the base settings against PHP's web server with the service's
// scripts, and against a port where nothing answers.
#include "ui/server_connection_check.h"

#include "fakes/recording_message_boxes.h"
#include "fakes/recording_wait_cursor.h"
#include "fixtures/local_web_server.h"

#include <gtest/gtest.h>

TEST(ServerConnection, PingScriptAnswers)
{
    LocalWebServer server;
    std::string error;
    ASSERT_TRUE(server.Start(LocalWebServer::FixtureRoot(), error)) << error;
    RecordingMessageBoxes boxes;
    RecordingWaitCursor cursor;
    // A port text that begins with the number uses that number.
    EXPECT_TRUE(ServerConnectionTest("127.0.0.1", std::to_string(server.Port()) + "x", "korvid", cursor));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Der Web-Server 127.0.0.1 wurde erfolgreich angesprochen!\n\n\n"
                                   "Korvid-Web-Server bereit. Skript kv_ping.php antwortet.");
    EXPECT_EQ(boxes.boxes[0].caption, "Test des Korvid-Servers (HTTP)");
    EXPECT_EQ(boxes.boxes[0].style, BoxStyle::IconInformation | BoxStyle::TaskModal);
    EXPECT_EQ(cursor.shown, 1);
    EXPECT_EQ(cursor.depth, 0);
}

TEST(ServerConnection, UnreachableServer)
{
    RecordingMessageBoxes boxes;
    RecordingWaitCursor cursor;
    EXPECT_FALSE(ServerConnectionTest("127.0.0.1", std::to_string(UnusedLocalPort()), "korvid", cursor));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text.rfind("Fehler 'UTE_", 0), 0u) << boxes.boxes[0].text;
    EXPECT_NE(boxes.boxes[0].text.find("'\nbeim Versuch den Web-Server 127.0.0.1 zu kontaktieren!"), std::string::npos);
    EXPECT_EQ(boxes.boxes[0].caption, "Test des Korvid-Servers (HTTP)");
    EXPECT_EQ(boxes.boxes[0].style, BoxStyle::Error);
    EXPECT_EQ(cursor.depth, 0);
}
