#include "app/main_menu.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::vector<std::string> Texts(const Menu& menu)
{
    std::vector<std::string> texts;
    for (const MenuEntry& entry : menu.entries)
        texts.push_back((entry.separatorBefore ? "-- " : "") + entry.text);
    return texts;
}

}  // namespace

TEST(MainMenu, KorvidModeOffersEveryCommand)
{
    std::vector<Menu> menus = MainMenu(0);
    ASSERT_EQ(menus.size(), 3u);
    EXPECT_EQ(menus[0].title, "&Datei");
    EXPECT_EQ(Texts(menus[0]),
              (std::vector<std::string>{"Log-Datei anzeigen...", "-- Log-Datei löschen ...", "-- &Ende"}));
    EXPECT_EQ(menus[1].title, "&Einstellungen");
    EXPECT_EQ(Texts(menus[1]), (std::vector<std::string>{"&Grundeinstellungen ...", "&Institution zuordnen ...",
                                                         "&Drucker zuordnen ..."}));
    EXPECT_EQ(menus[2].title, "&Hilfe");
    EXPECT_EQ(Texts(menus[2]), (std::vector<std::string>{"&Über KV_PRINT ..."}));
}

TEST(MainMenu, TessalineModeHasNoInstitutionCommandAndItsOwnAboutText)
{
    std::vector<Menu> menus = MainMenu(1);
    ASSERT_EQ(menus.size(), 3u);
    EXPECT_EQ(Texts(menus[1]), (std::vector<std::string>{"&Grundeinstellungen ...", "&Drucker zuordnen ..."}));
    ASSERT_EQ(menus[2].entries.size(), 1u);
    EXPECT_EQ(menus[2].entries[0].text, "Info über ts_print");
    EXPECT_EQ(menus[2].entries[0].command, MenuCommand::About);
}

TEST(MainMenu, OnlyTheLogCommandsFollowDoLog)
{
    StationSettings settings;
    for (int doLog : {0, 1}) {
        settings.DoLog = doLog;
        for (const Menu& menu : MainMenu(0)) {
            for (const MenuEntry& entry : menu.entries) {
                bool logCommand = entry.command == MenuCommand::ViewLog || entry.command == MenuCommand::ClearLog;
                EXPECT_EQ(MenuCommandEnabled(entry.command, settings), !logCommand || doLog == 1)
                    << entry.text << " with DoLog " << doLog;
            }
        }
    }
}
