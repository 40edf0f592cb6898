#include "ui/desktop_settings_dialogs.h"

#include "ui/institution_data_dialog.h"
#include "ui/institution_selection_dialog.h"
#include "ui/modal_cursor.h"
#include "ui/printer_assignment_dialog.h"
#include "ui/settings_dialog.h"
#include "ui/spool_folder_list_dialog.h"

bool DesktopSettingsDialogs::EditBaseSettings(BaseSettings& values)
{
    SettingsDialog dialog(values, context_, parent_);
    if (ExecModal(dialog) != QDialog::Accepted)
        return false;
    values = dialog.Values();
    return true;
}

bool DesktopSettingsDialogs::AssignPrinters(PrinterAssignment& assignment)
{
    PrinterAssignmentDialog dialog(assignment, parent_);
    if (ExecModal(dialog) != QDialog::Accepted)
        return false;
    assignment = dialog.Assignment();
    return true;
}

bool DesktopSettingsDialogs::EditSpoolFolders(SpoolFolderPrinters& printers)
{
    SpoolFolderListDialog dialog(printers, context_.listFont, parent_);
    if (ExecModal(dialog) != QDialog::Accepted)
        return false;
    printers = dialog.Printers();
    return true;
}

bool DesktopSettingsDialogs::SelectInstitution(const ServiceAddress& address, InstitutionData& institution)
{
    InstitutionSelectionDialog dialog(address, institution, *context_.waitCursor, parent_);
    // After the failure box the user types what the list would have given.
    if (dialog.ListFailed())
        return EditInstitutionData(institution);
    if (ExecModal(dialog) != QDialog::Accepted)
        return false;
    institution = dialog.Institution();
    return true;
}

bool DesktopSettingsDialogs::EditInstitutionData(InstitutionData& institution)
{
    InstitutionDataDialog dialog(institution, parent_);
    if (ExecModal(dialog) != QDialog::Accepted)
        return false;
    institution = dialog.Institution();
    return true;
}
