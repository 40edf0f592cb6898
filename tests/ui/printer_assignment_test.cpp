#include "ui/printer_assignment.h"

#include <gtest/gtest.h>

TEST(PrinterAssignment, ElevenValuesGoToTheirKeys)
{
    StationSettings settings;
    const PrinterAssignment assignment{{"Deckblatt", "front-drv", "front-port"},
                                       {"Rot", "rl-drv", "rl-port"},
                                       {"Liefer", "delv-drv", "delv-port"},
                                       "/usr/bin/lp",
                                       "-d $PRINTER$ $FILE$"};
    TakeOverPrinterAssignment(assignment, settings);
    EXPECT_EQ(settings.Printer_FrontSheet, "Deckblatt");
    EXPECT_EQ(settings.Printer_FrontSheet_Driver, "front-drv");
    EXPECT_EQ(settings.Printer_FrontSheet_Port, "front-port");
    EXPECT_EQ(settings.Printer_RL, "Rot");
    EXPECT_EQ(settings.Printer_RL_Driver, "rl-drv");
    EXPECT_EQ(settings.Printer_RL_Driver_Port, "rl-port");
    EXPECT_EQ(settings.Printer_Delivery, "Liefer");
    EXPECT_EQ(settings.Printer_Delivery_Driver, "delv-drv");
    EXPECT_EQ(settings.Printer_Delivery_Driver_Port, "delv-port");
    EXPECT_EQ(settings.Printer_PDF_Prog, "/usr/bin/lp");
    EXPECT_EQ(settings.Printer_PDF_Prog_Params, "-d $PRINTER$ $FILE$");
    EXPECT_EQ(PrinterAssignmentOf(settings), assignment);
}

TEST(PrinterAssignment, SpoolFolderPrintersRoundTrip)
{
    StationSettings settings;
    const SpoolFolderPrinters printers{{{"Aus", "DELV", "P", "D", "X"}}, "/bin/prog", "$FILE$"};
    TakeOverSpoolFolderPrinters(printers, settings);
    EXPECT_EQ(settings.SpoolFolders, printers.folders);
    EXPECT_EQ(settings.Printer_PDF_Prog, "/bin/prog");
    EXPECT_EQ(settings.Printer_PDF_Prog_Params, "$FILE$");
    EXPECT_EQ(SpoolFolderPrintersOf(settings), printers);
}

TEST(PrinterAssignment, HelpText)
{
    EXPECT_EQ(PrintProgramHelpText(),
              "Parameter für das Druckprogramm:\n\n$FILE$ steht für den Dateinamen des zu druckenden "
              "PDF-Dokumentes \n$PRINTER$ steht für den jeweiligen Drucker [CUPS-Warteschlange]  (ferner: "
              "$DRIVER$: Treiber [Hersteller und Modell], $PORT$: Ausgabeport [Geräte-URI, z.B. "
              "ipp://drucker/ipp/print].\nDas Programm setzt die jeweiligen Werte "
              "automatisch ein.\n\nBeispielhafte Parameter für pdf_print:\n\n\t-dPDFFitPage -color "
              "-printer \"$PRINTER$\" $FILE$");
}
