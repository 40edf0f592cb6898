// A main window in a fresh station folder, for the widget tests: the settings file is
// written through the settings store, message boxes are recorded, the store is the
// one of this build, on a port of 127.0.0.1 where nothing listens.
#pragma once

#include "app/log_font.h"
#include "app/log_list_widget.h"
#include "app/main_window.h"
#include "app/start_values.h"
#include "config/station_settings.h"
#include "fakes/recording_message_boxes.h"
#include "support/scratch_folder.h"
#include "spool/remote_store.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <arpa/inet.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

// A port on 127.0.0.1 where nothing listens: every connect to it is refused at once.
inline int RefusedPort()
{
    int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(socket);
    return port;
}

class StationWindow {
public:
    explicit StationWindow(const std::string& programName = "kv_print")
        : values(DeriveStartValues("/opt/station/" + programName, folder.Path(), "Jun 25 2013 16:27:31"))
    {
        std::filesystem::create_directory(folder / "store");
    }

    // Local mode with everything Start requires; the print program always succeeds.
    StationSettings LocalSettings() const
    {
        StationSettings settings;
        settings.IniPath = values.IniPath;
        settings.ProgramFolder = values.ProgramFolder;
        settings.TessalineMode = values.TessalineMode;
        settings.SpoolDir = values.ProgramFolder;
        settings.LocalFsMode = 1;
        settings.LocalMainDir = folder / "store";
        settings.KV_Inst_ID = "4711";
        settings.KV_Inst_Name = "Stadtbibliothek Nord";
        settings.KV_Inst_Abbrev = "SBN";
        settings.Printer_Delivery = "lieferungen";
        settings.Printer_RL = "leihscheine";
        settings.Printer_FrontSheet = "deckblaetter";
        settings.Printer_PDF_Prog = "/bin/true";
        settings.Polling_Rate = 1;
        settings.DoLog = 1;
        settings.LogFileName = settings.DefaultLogFileName();
        if (values.TessalineMode) {
            settings.MainFolders = {"4711"};
            settings.SpoolFolders = {{"Aufsätze", "ART", "artikel", "", ""}, {"", "RL", "leihscheine", "", ""}};
        }
        return settings;
    }

    // A document waiting in the local source tree.
    std::string AddDocument(const std::string& category, const std::string& name) const
    {
        std::string folderPath = values.TessalineMode ? folder / ("store/4711/" + category)
                                                      : folder / ("store/4711/SPOOL/" + category);
        std::filesystem::create_directories(folderPath);
        std::string path = folderPath + "/" + name;
        std::ofstream(path) << "%PDF-1.4\n% " << name << "\n%%EOF\n";
        return path;
    }

    MainWindow& Open()
    {
        window = std::make_unique<MainWindow>(values, store);
        window->Initialise(MakeLogFont());
        window->show();
        return *window;
    }

    LogListWidget& List() const { return *window->findChild<LogListWidget*>("log"); }

    // The messages of the list's lines, without "<time stamp number> ".
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> messages;
        for (const std::string& line : List().Lines()) {
            std::string::size_type end = line.find("> ");
            messages.push_back(end == std::string::npos ? line : line.substr(end + 2));
        }
        return messages;
    }

    // The list's lines, one per line, for failure messages.
    QByteArray Dump() const
    {
        QByteArray text;
        for (const std::string& line : List().Lines())
            text += "\n" + QByteArray::fromStdString(line);
        return text;
    }

    bool Logged(const std::string& message) const
    {
        for (const std::string& shown : Messages()) {
            if (shown == message)
                return true;
        }
        return false;
    }

    QPushButton* Button(const char* name) const { return window->findChild<QPushButton*>(name); }
    QCheckBox* AutoStartBox() const { return window->findChild<QCheckBox*>("autoStart"); }

    // The commands of one menu, by the menu's title.
    std::vector<QAction*> MenuActions(const QString& title) const
    {
        std::vector<QAction*> actions;
        for (QAction* menu : window->findChild<QMenuBar*>()->actions()) {
            if (menu->text() != title)
                continue;
            for (QAction* action : menu->menu()->actions()) {
                if (!action->isSeparator())
                    actions.push_back(action);
            }
        }
        return actions;
    }

    QAction* Command(const QString& text) const
    {
        for (const char* title : {"&Datei", "&Einstellungen", "&Hilfe"}) {
            for (QAction* action : MenuActions(title)) {
                if (action->text() == text)
                    return action;
            }
        }
        return nullptr;
    }

    ScratchFolder folder;
    StartValues values;
    RecordingMessageBoxes boxes;
    RemoteStoreAccess store{RefusedPort(), RefusedPort()};
    std::unique_ptr<MainWindow> window;
};
