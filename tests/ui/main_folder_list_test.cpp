#include "ui/main_folder_list.h"

#include "fakes/recording_message_boxes.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::string>;

TEST(MainFolderList, OpensSortedWithTheFirstLineSelected)
{
    MainFolderList list({"süd", "Nord", "  ", "ost", "Ärger"});
    EXPECT_EQ(list.Lines(), (Lines{"Nord", "ost", "süd", "Ärger"}));
    EXPECT_EQ(list.Selected(), 0);
    EXPECT_EQ(MainFolderList({}).Selected(), -1);
}

TEST(MainFolderList, AddAndChange)
{
    MainFolderList list({"b", "d"});
    list.Add("  C ");
    EXPECT_EQ(list.Lines(), (Lines{"b", "C", "d"}));
    EXPECT_EQ(list.Selected(), 1);
    list.Add(" \t ");
    EXPECT_EQ(list.Lines().size(), 3u);
    EXPECT_EQ(list.Selected(), 0);

    list.Select(2);
    list.ChangeSelected("a");
    EXPECT_EQ(list.Lines(), (Lines{"a", "b", "C"}));
    EXPECT_EQ(list.Selected(), 0);

    // Changed to an empty text, the entry is gone.
    list.Select(1);
    list.ChangeSelected("");
    EXPECT_EQ(list.Lines(), (Lines{"a", "C"}));
    EXPECT_EQ(list.Selected(), 0);

    list.Select(-1);
    list.ChangeSelected("x");
    EXPECT_EQ(list.Lines(), (Lines{"a", "C"}));
}

TEST(MainFolderList, RemoveAsksFirst)
{
    RecordingMessageBoxes boxes;
    boxes.answers = {BoxButton::Cancel, BoxButton::No, BoxButton::Yes};
    MainFolderList list({"nord", "süd"});
    list.Select(1);
    EXPECT_FALSE(list.RemoveSelected());
    EXPECT_FALSE(list.RemoveSelected());
    EXPECT_TRUE(list.RemoveSelected());
    EXPECT_EQ(list.Lines(), (Lines{"nord"}));
    EXPECT_EQ(list.Selected(), 0);
    ASSERT_EQ(boxes.boxes.size(), 3u);
    EXPECT_EQ(boxes.boxes[2].text, "Soll der Eintrag 'süd'\n\ngelöscht werden ?");
    EXPECT_EQ(boxes.boxes[2].caption, "Bitte bestätigen Sie:");
    EXPECT_EQ(boxes.boxes[2].style, BoxStyle::YesNoCancel | BoxStyle::IconQuestion | BoxStyle::TaskModal);
}
