#include "ui/printer_assignment.h"

PrinterAssignment PrinterAssignmentOf(const StationSettings& settings)
{
    return {{settings.Printer_FrontSheet, settings.Printer_FrontSheet_Driver, settings.Printer_FrontSheet_Port},
            {settings.Printer_RL, settings.Printer_RL_Driver, settings.Printer_RL_Driver_Port},
            {settings.Printer_Delivery, settings.Printer_Delivery_Driver, settings.Printer_Delivery_Driver_Port},
            settings.Printer_PDF_Prog,
            settings.Printer_PDF_Prog_Params};
}

void TakeOverPrinterAssignment(const PrinterAssignment& assignment, StationSettings& settings)
{
    settings.Printer_FrontSheet = assignment.frontSheet.name;
    settings.Printer_FrontSheet_Driver = assignment.frontSheet.driver;
    settings.Printer_FrontSheet_Port = assignment.frontSheet.port;
    settings.Printer_RL = assignment.redSlips.name;
    settings.Printer_RL_Driver = assignment.redSlips.driver;
    settings.Printer_RL_Driver_Port = assignment.redSlips.port;
    settings.Printer_Delivery = assignment.delivery.name;
    settings.Printer_Delivery_Driver = assignment.delivery.driver;
    settings.Printer_Delivery_Driver_Port = assignment.delivery.port;
    settings.Printer_PDF_Prog = assignment.program;
    settings.Printer_PDF_Prog_Params = assignment.params;
}

SpoolFolderPrinters SpoolFolderPrintersOf(const StationSettings& settings)
{
    return {settings.SpoolFolders, settings.Printer_PDF_Prog, settings.Printer_PDF_Prog_Params};
}

void TakeOverSpoolFolderPrinters(const SpoolFolderPrinters& printers, StationSettings& settings)
{
    settings.SpoolFolders = printers.folders;
    settings.Printer_PDF_Prog = printers.program;
    settings.Printer_PDF_Prog_Params = printers.params;
}

// Printers are CUPS queues: the driver is the queue's make and model, the port its
// device URI, and the station's own print program is pdf_print.
std::string PrintProgramHelpText()
{
    return std::string("Parameter für das Druckprogramm:\n\n$FILE$ steht für den Dateinamen ")
           + "des zu druckenden PDF-Dokumentes \n$PRINTER$ steht für den jeweiligen Drucker [CUPS-Warteschlange]"
           + "  (ferner: $DRIVER$: Treiber [Hersteller und Modell], $PORT$: Ausgabeport [Geräte-URI, z.B. "
           + "ipp://drucker/ipp/print]."
           + "\nDas Programm setzt die jeweiligen Werte automatisch ein."
           + "\n\nBeispielhafte Parameter für pdf_print:\n\n\t-dPDFFitPage -color -printer \"$PRINTER$\" $FILE$";
}
