#include "ui/spool_folder_list.h"

#include "fakes/recording_message_boxes.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Folders(const SpoolFolderList& list)
{
    std::vector<std::string> folders;
    for (const SpoolFolderEntry& entry : list.Entries())
        folders.push_back(entry.Folder);
    return folders;
}

using Names = std::vector<std::string>;

}  // namespace

TEST(SpoolFolderList, ListLines)
{
    SpoolFolderEntry entry{"Auslieferungen", "DELV", "Laser 1", "drv", "LPT1:"};
    EXPECT_EQ(SpoolFolderListLine(entry), "DELV" + std::string(21, ' ') + "Auslieferungen[Laser 1 (LPT1:)]");
    entry.PrinterPort = "";
    EXPECT_EQ(SpoolFolderListLine(entry), "DELV" + std::string(21, ' ') + "Auslieferungen[Laser 1]");
    entry.PrinterName = "";
    entry.PrinterPort = "LPT1:";
    EXPECT_EQ(SpoolFolderListLine(entry), "DELV" + std::string(21, ' ') + "Auslieferungen");

    const std::string longName(30, 'x');
    EXPECT_EQ(SpoolFolderListLine({"Lang", longName, "", "", ""}), longName + "Lang");
    EXPECT_EQ(SpoolFolderListLine({"Genau", std::string(25, 'y'), "", "", ""}), std::string(25, 'y') + "Genau");
    // Padded by characters: an umlaut is one column, though two bytes.
    EXPECT_EQ(SpoolFolderListLine({"d", "Aufsätze", "", "", ""}), "Aufsätze" + std::string(17, ' ') + "d");

    EXPECT_EQ(SpoolFolderPrinterText({"", "", "Laser 1", "", "LPT1:"}), "Laser 1 (LPT1:)");
    EXPECT_EQ(SpoolFolderPrinterText({"", "", "Laser 1", "", ""}), "Laser 1");
    EXPECT_EQ(SpoolFolderPrinterText({"", "", "", "", ""}), "");
}

TEST(SpoolFolderList, EmptyStoredListStartsWithTheDefaultsAndFrontSheetsSelected)
{
    SpoolFolderList list({});
    ASSERT_EQ(list.Entries().size(), 2u);
    EXPECT_EQ(list.Entries()[0], (SpoolFolderEntry{"Auslieferungen", "DELV", "", "", ""}));
    EXPECT_EQ(list.Entries()[1], (SpoolFolderEntry{"Deckblätter", "FRONTSH", "", "", ""}));
    EXPECT_EQ(list.Selected(), 1);

    // The last stored entry is selected wherever its line sorts to.
    SpoolFolderList stored({{"", "zeta", "", "", ""}, {"", "Alpha", "", "", ""}, {"", "beta", "", "", ""}});
    EXPECT_EQ(Folders(stored), (Names{"Alpha", "beta", "zeta"}));
    EXPECT_EQ(stored.Selected(), 1);
}

TEST(SpoolFolderList, StoredEntriesWithoutFolderAreLeftOut)
{
    SpoolFolderList list({{"leer", "   ", "", "", ""}, {" Rot ", " RL ", "", "", ""}});
    EXPECT_EQ(list.Entries(), (std::vector<SpoolFolderEntry>{{"Rot", "RL", "", "", ""}}));
    EXPECT_EQ(Folders(SpoolFolderList({{"leer", "", "", "", ""}})), (Names{"DELV", "FRONTSH"}));
}

TEST(SpoolFolderList, AddStripsAndRefusesBlankFolders)
{
    SpoolFolderList list({});
    EXPECT_FALSE(list.Add({"nichts", "   \t", "Laser", "", ""}));
    EXPECT_EQ(list.Entries().size(), 2u);
    EXPECT_EQ(list.Selected(), 1);

    EXPECT_TRUE(list.Add({"  Rote Scheine ", "  rl  ", " Laser 2 ", " drv ", " LPT2: "}));
    EXPECT_EQ(Folders(list), (Names{"DELV", "FRONTSH", "rl"}));
    EXPECT_EQ(list.Entries()[2], (SpoolFolderEntry{"Rote Scheine", "rl", "Laser 2", "drv", "LPT2:"}));
    EXPECT_EQ(list.Selected(), 2);

    EXPECT_TRUE(list.Add({"", "apfel", "", "", ""}));
    EXPECT_EQ(Folders(list), (Names{"apfel", "DELV", "FRONTSH", "rl"}));
    EXPECT_EQ(list.Selected(), 0);
}

TEST(SpoolFolderList, AFolderAlreadyInTheListIsRefusedWithAHint)
{
    SpoolFolderList list({});
    EXPECT_FALSE(list.Add({"doppelt", " DELV ", "", "", ""}));
    EXPECT_TRUE(list.ChangeSelected({"neu", "FRONTSH", "", "", ""}));
    EXPECT_EQ(DuplicateFolderHint({"", "DELV ", "", "", ""}, list.FoldersBesides(1)),
              "Das Verzeichnis 'DELV' steht bereits in der Liste der Spool-Verzeichnisse.\n\n"
              "Bitte geben Sie einen anderen Verzeichnisnamen ein.");
}

TEST(SpoolFolderList, ChangeKeepsTheSelectedRow)
{
    SpoolFolderList list({{"", "a", "", "", ""}, {"", "b", "", "", ""}, {"", "c", "", "", ""}});
    list.Select(0);
    EXPECT_TRUE(list.ChangeSelected({"neu", " z ", "P", "D", "X"}));
    EXPECT_EQ(Folders(list), (Names{"b", "c", "z"}));
    EXPECT_EQ(list.Entries()[2], (SpoolFolderEntry{"neu", "z", "P", "D", "X"}));
    EXPECT_EQ(list.Selected(), 0);

    // A blank folder leaves the entry as it was.
    list.Select(1);
    EXPECT_FALSE(list.ChangeSelected({"weg", "  ", "", "", ""}));
    EXPECT_EQ(Folders(list), (Names{"b", "c", "z"}));
    EXPECT_EQ(list.Entries()[1].Description, "");

    list.Select(-1);
    EXPECT_FALSE(list.ChangeSelected({"", "q", "", "", ""}));
    EXPECT_EQ(list.Entries().size(), 3u);
}

TEST(SpoolFolderList, RemoveAsksAndOnlyYesRemoves)
{
    RecordingMessageBoxes boxes;
    boxes.answers = {BoxButton::No, BoxButton::Cancel, BoxButton::Yes};
    SpoolFolderList list({});
    EXPECT_FALSE(list.RemoveSelected());
    EXPECT_FALSE(list.RemoveSelected());
    EXPECT_EQ(Folders(list), (Names{"DELV", "FRONTSH"}));
    EXPECT_TRUE(list.RemoveSelected());
    EXPECT_EQ(Folders(list), (Names{"DELV"}));
    EXPECT_EQ(list.Selected(), 0);

    ASSERT_EQ(boxes.boxes.size(), 3u);
    EXPECT_EQ(boxes.boxes[0].text, "Soll der Eintrag für das Verzeichnis\n\n'FRONTSH'\n\ngelöscht werden ?");
    EXPECT_EQ(boxes.boxes[0].caption, "Bitte bestätigen Sie:");
    EXPECT_EQ(boxes.boxes[0].style, BoxStyle::YesNoCancel | BoxStyle::IconQuestion | BoxStyle::TaskModal);

    boxes.answers = {BoxButton::Yes};
    EXPECT_TRUE(list.RemoveSelected());
    EXPECT_TRUE(list.Entries().empty());
    EXPECT_EQ(list.Selected(), -1);
    EXPECT_FALSE(list.RemoveSelected());
    EXPECT_EQ(boxes.boxes.size(), 4u);
}

TEST(SpoolFolderList, RestoreBringsBackTheOpeningList)
{
    RecordingMessageBoxes boxes;
    boxes.answers = {BoxButton::Yes};
    const std::vector<SpoolFolderEntry> stored{{"Rot", "RL", "Laser", "d", "p"}, {"Aus", "DELV", "", "", ""}};
    SpoolFolderList list(stored);
    list.Add({"", "neu", "", "", ""});
    list.Select(0);
    list.ChangeSelected({"geändert", "DELV2", "", "", ""});
    list.Select(2);
    list.RemoveSelected();
    list.Restore();
    EXPECT_EQ(list.Entries(), (std::vector<SpoolFolderEntry>{stored[1], stored[0]}));
    EXPECT_EQ(list.Selected(), 0);

    // Restoring a list that opened empty gives the default entries again.
    SpoolFolderList defaults({});
    boxes.answers = {BoxButton::Yes, BoxButton::Yes};
    defaults.RemoveSelected();
    defaults.RemoveSelected();
    defaults.Restore();
    EXPECT_EQ(Folders(defaults), (Names{"DELV", "FRONTSH"}));
    EXPECT_EQ(defaults.Selected(), 1);
}
