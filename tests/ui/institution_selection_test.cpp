// The institution choice against PHP's web server with the service's scripts.
#include "ui/institution_selection.h"

#include "fakes/recording_message_boxes.h"
#include "fakes/recording_wait_cursor.h"
#include "fixtures/local_web_server.h"

#include <gtest/gtest.h>

namespace {

class InstitutionChoice : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(server.Start(LocalWebServer::FixtureRoot(), error)) << error;
    }
    ServiceAddress Address(const std::string& folder = "korvid") const
    {
        return {"127.0.0.1", std::to_string(server.Port()), folder};
    }

    LocalWebServer server;
    RecordingMessageBoxes boxes;
    RecordingWaitCursor cursor;
};

using Names = std::vector<std::string>;
const Names kSorted{"Stadtbibliothek A", "Stadtbibliothek B", "Universitätsbibliothek Nordstadt"};

}  // namespace

TEST_F(InstitutionChoice, WithoutANameTheFirstIsSelectedButNothingShown)
{
    InstitutionSelection selection({"", "", ""});
    selection.Request(Address(), cursor);
    EXPECT_EQ(selection.Names(), kSorted);
    EXPECT_EQ(selection.InitialSelection(), 0);
    EXPECT_EQ(selection.Shown(), (InstitutionData{"", "", ""}));
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(cursor.shown, 1);
    EXPECT_EQ(cursor.depth, 0);

    selection.Confirm(2);
    EXPECT_EQ(selection.Shown(), (InstitutionData{"1002", "Universitätsbibliothek Nordstadt", "UB-N"}));
    selection.Confirm(3);
    selection.Confirm(-1);
    EXPECT_EQ(selection.Shown().id, "1002");
}

TEST_F(InstitutionChoice, APartialNameSelectsTheFirstThatBeginsWithIt)
{
    InstitutionSelection partial({"1001", "Stadt", "X"});
    partial.Request(Address(), cursor);
    EXPECT_EQ(partial.InitialSelection(), 0);
    EXPECT_EQ(partial.Shown(), (InstitutionData{"1001", "Stadt", "X"}));

    InstitutionSelection anyCase({"", "stadtbibliothek b", ""});
    anyCase.Request(Address(), cursor);
    EXPECT_EQ(anyCase.InitialSelection(), 1);

    InstitutionSelection none({"", "Zentralbibliothek", ""});
    none.Request(Address(), cursor);
    EXPECT_EQ(none.InitialSelection(), -1);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(InstitutionChoice, ServerErrorReplyIsShownAsTheServersMessage)
{
    InstitutionSelection selection({"7", "Alt", "A"});
    selection.Request(Address("fehler"), cursor);
    EXPECT_TRUE(selection.Names().empty());
    EXPECT_EQ(selection.InitialSelection(), -1);
    EXPECT_EQ(selection.Shown(), (InstitutionData{"7", "Alt", "A"}));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              "FEHLER: Datenbank nicht erreichbar.\nBitte versuchen Sie es später noch einmal.\n");
    EXPECT_EQ(boxes.boxes[0].caption, "KORVID-Fehler, Meldung vom Korvid-Web-Server:");
    EXPECT_EQ(boxes.boxes[0].style, BoxStyle::Error);
    EXPECT_EQ(cursor.depth, 0);
}

TEST(InstitutionChoiceUnreachable, SaysTheDataCanBeTypedByHand)
{
    RecordingMessageBoxes boxes;
    RecordingWaitCursor cursor;
    InstitutionSelection selection({"7", "Alt", "A"});
    selection.Request({"127.0.0.1", std::to_string(UnusedLocalPort()), "korvid"}, cursor);
    EXPECT_TRUE(selection.Names().empty());
    EXPECT_EQ(selection.Shown(), (InstitutionData{"7", "Alt", "A"}));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "kein Zugriff auf Korvid-Server möglich!\n\nBitte geben Sie die Daten von Hand ein\n"
                                   "oder versuchen Sie es später noch einmal!\n\n"
                                   "Verbindung abgelehnt: Auf diesem Port nimmt der Server keine Verbindungen an.");
    EXPECT_EQ(boxes.boxes[0].caption, "KORVID-Fehler");
    EXPECT_EQ(boxes.boxes[0].style, BoxStyle::Error);
    EXPECT_EQ(cursor.depth, 0);
}
