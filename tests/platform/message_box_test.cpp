#include "platform/message_box.h"

#include "fakes/recording_message_boxes.h"

#include <gtest/gtest.h>

TEST(Messages, AskUser)
{
    RecordingMessageBoxes boxes;
    boxes.answers = {BoxButton::Yes, BoxButton::No};
    EXPECT_EQ(AskUser("", "", 0x24), BoxButton::Cancel);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(AskUser("", "Datei löschen?", 0x24), BoxButton::Yes);
    EXPECT_EQ(AskUser("Achtung", "Weiter?", 0x2023), BoxButton::No);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].caption, "Frage:");
    EXPECT_EQ(boxes.boxes[0].text, "Datei löschen?");
    EXPECT_EQ(boxes.boxes[0].style, 0x2024u);
    EXPECT_EQ(boxes.boxes[1].caption, "Achtung");
    EXPECT_EQ(boxes.boxes[1].style, 0x2023u);
}
