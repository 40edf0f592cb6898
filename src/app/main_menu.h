// The menu bar of the main window: the commands each product mode offers, their texts,
// and which of them can be chosen.
#pragma once

#include "config/station_settings.h"

#include <string>
#include <vector>

enum class MenuCommand { ViewLog, ClearLog, End, BaseSettings, AssignInstitution, AssignPrinters, About };

struct MenuEntry {
    MenuCommand command;
    std::string text;
    bool separatorBefore = false;
};

struct Menu {
    std::string title;
    std::vector<MenuEntry> entries;
};

// "&Datei", "&Einstellungen" and "&Hilfe" with their commands. The Tessaline mode has no
// "&Institution zuordnen ..." and calls its About command "Info über ts_print".
std::vector<Menu> MainMenu(int tessalineMode);

// The two log commands can be chosen only while DoLog = 1; every other command always.
bool MenuCommandEnabled(MenuCommand command, const StationSettings& settings);
