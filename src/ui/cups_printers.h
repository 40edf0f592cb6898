// The printers of the system's CUPS, as the printer selection offers them.
#pragma once

#include "ui/printer_choice.h"

#include <vector>

struct SystemPrinters {
    // By queue name; the driver is the printer's make and model, the port its device URI.
    std::vector<PrinterChoice> printers;
    int defaultIndex = -1;  // the default destination, -1 when none is set
};

// Asks the CUPS server the environment names (CUPS_SERVER, else the local one). No
// server and no queue both give an empty list.
SystemPrinters QuerySystemPrinters();
