// The settings dialogs on the desktop: each command's dialog, modal over the window.
#pragma once

#include "ui/dialog_context.h"
#include "ui/settings_dialogs.h"

class QWidget;

class DesktopSettingsDialogs : public SettingsDialogs {
public:
    DesktopSettingsDialogs(QWidget* parent, DialogContext context) : parent_(parent), context_(std::move(context)) {}

    bool EditBaseSettings(BaseSettings& values) override;
    bool AssignPrinters(PrinterAssignment& assignment) override;
    bool EditSpoolFolders(SpoolFolderPrinters& printers) override;
    bool SelectInstitution(const ServiceAddress& address, InstitutionData& institution) override;
    bool EditInstitutionData(InstitutionData& institution) override;

private:
    QWidget* parent_;
    DialogContext context_;
};
