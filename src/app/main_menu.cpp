#include "app/main_menu.h"

std::vector<Menu> MainMenu(int tessalineMode)
{
    Menu file{"&Datei",
              {{MenuCommand::ViewLog, "Log-Datei anzeigen..."},
               {MenuCommand::ClearLog, "Log-Datei löschen ...", true},
               {MenuCommand::End, "&Ende", true}}};

    Menu settings{"&Einstellungen", {{MenuCommand::BaseSettings, "&Grundeinstellungen ..."}}};
    if (!tessalineMode)
        settings.entries.push_back({MenuCommand::AssignInstitution, "&Institution zuordnen ..."});
    settings.entries.push_back({MenuCommand::AssignPrinters, "&Drucker zuordnen ..."});

    Menu help{"&Hilfe", {{MenuCommand::About, tessalineMode ? "Info über ts_print" : "&Über KV_PRINT ..."}}};
    return {file, settings, help};
}

bool MenuCommandEnabled(MenuCommand command, const StationSettings& settings)
{
    if (command == MenuCommand::ViewLog || command == MenuCommand::ClearLog)
        return settings.DoLog == 1;
    return true;
}
