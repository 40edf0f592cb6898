// The settings dialogs as the main window's commands use them. The desktop runs its
// dialogs behind this; each works on the values handed in and changes them only when
// it ends with "OK".
#pragma once

#include "ui/base_settings.h"
#include "ui/institution_selection.h"
#include "ui/printer_assignment.h"

class SettingsDialogs {
public:
    virtual ~SettingsDialogs() = default;

    // Each returns true when its dialog ended with "OK".
    virtual bool EditBaseSettings(BaseSettings& values) = 0;
    virtual bool AssignPrinters(PrinterAssignment& assignment) = 0;
    virtual bool EditSpoolFolders(SpoolFolderPrinters& printers) = 0;
    // From the service's list.
    virtual bool SelectInstitution(const ServiceAddress& address, InstitutionData& institution) = 0;
    // ID and name typed by hand; the abbreviation is not touched.
    virtual bool EditInstitutionData(InstitutionData& institution) = 0;
};
