// The printers of the Korvid mode's three categories and the print program, as the
// printer assignment dialog edits them; and the same for the spool folder list of the
// Tessaline mode.
#pragma once

#include "config/station_settings.h"
#include "ui/printer_choice.h"

#include <string>
#include <vector>

struct PrinterAssignment {
    PrinterChoice frontSheet;  // FRONTSH, "Deckblätter"
    PrinterChoice redSlips;    // RL, "rote Leihscheine"
    PrinterChoice delivery;    // DELV, "Auslieferungen"
    std::string program;
    std::string params;

    bool operator==(const PrinterAssignment&) const = default;
};

PrinterAssignment PrinterAssignmentOf(const StationSettings& settings);
// Writes all eleven values into the record.
void TakeOverPrinterAssignment(const PrinterAssignment& assignment, StationSettings& settings);

struct SpoolFolderPrinters {
    std::vector<SpoolFolderEntry> folders;
    std::string program;
    std::string params;

    bool operator==(const SpoolFolderPrinters&) const = default;
};

SpoolFolderPrinters SpoolFolderPrintersOf(const StationSettings& settings);
void TakeOverSpoolFolderPrinters(const SpoolFolderPrinters& printers, StationSettings& settings);

// The help text beside the print program's parameter template.
std::string PrintProgramHelpText();
