// The main window's three settings commands: each is refused while polling runs, opens
// its dialog on a copy of the settings and, after "OK", takes the values over and saves
// the whole settings file.
#pragma once

class SettingsDialogs;
class Station;

// "&Grundeinstellungen ...": after "OK" also creates the spool folders, before saving.
// True when the settings changed.
bool BaseSettingsCommand(Station& station, SettingsDialogs& dialogs);
// "&Drucker zuordnen ...": the category printers in the Korvid mode; the spool folder
// list in the Tessaline mode, whose folders are created after "OK" and "Abbrechen" alike.
bool PrinterCommand(Station& station, SettingsDialogs& dialogs);
// "&Institution zuordnen ...": nothing at all in the Tessaline mode; from the service's
// list with KorvidMode = 1, typed by hand otherwise.
bool InstitutionCommand(Station& station, SettingsDialogs& dialogs);
