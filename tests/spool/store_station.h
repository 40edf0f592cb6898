// A station that fetches from a store on loopback: the real store access on a test
// port, the recording desktop and the test print program of TestStation.
#pragma once

#include "spool/remote_store.h"
#include "spool/station.h"
#include "spool/test_station.h"
#include "support/test_files.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The Korvid mode without the service's web server, fetching from KV_FTP_Store_Dir
// "/kv" on 127.0.0.1; everything else as in the local tests.
inline StationSettings StoreKorvidSettings(const std::string& root, const std::string& user,
                                           const std::string& password)
{
    StationSettings settings = LocalKorvidSettings(root);
    settings.LocalFsMode = 0;
    settings.KorvidMode = 0;
    settings.KV_FTP_Store = "127.0.0.1";
    settings.KV_FTP_Store_Dir = "/kv";
    settings.KV_FTP_Store_User = user;
    settings.KV_FTP_Store_Password = password;
    return settings;
}

// The Tessaline mode with the main folders north and south and the spool folders
// articles and loans/red, on the same store.
inline StationSettings StoreTessalineSettings(const std::string& root, const std::string& user,
                                              const std::string& password)
{
    StationSettings settings = LocalTessalineSettings(root);
    StationSettings store = StoreKorvidSettings(root, user, password);
    settings.LocalFsMode = 0;
    settings.KV_FTP_Store = store.KV_FTP_Store;
    settings.KV_FTP_Store_Dir = store.KV_FTP_Store_Dir;
    settings.KV_FTP_Store_User = user;
    settings.KV_FTP_Store_Password = password;
    return settings;
}

// The store access of the station, on ports the test may change between cycles.
class TestPortStoreAccess : public StoreAccess {
public:
    std::unique_ptr<StoreSession> CreateSession(Station& station) override
    {
        return std::make_unique<RemoteStoreSession>(station, ftpPort, sftpPort);
    }
    int ftpPort = 21;
    int sftpPort = 22;
};

// The window's display fields, with a hook into the file progress of a download.
class HookedDisplayFields : public RecordingDisplayFields {
public:
    void SetFileProgressPosition(std::int64_t position) override
    {
        RecordingDisplayFields::SetFileProgressPosition(position);
        if (onFileProgress)
            onFileProgress(position);
    }
    std::function<void(std::int64_t)> onFileProgress;
};

class StoreStation {
public:
    // Creates the station and its spool tree (which logs four lines).
    Station& Make(StationSettings settings)
    {
        std::filesystem::create_directories(settings.SpoolDir);
        station = std::make_unique<Station>(std::move(settings), desktop, access);
        station->CreateSpoolFolders();
        return *station;
    }
    std::string SpoolRoot() const { return test.folder / "spool/SPOOL"; }

    TestStation test;
    HookedDisplayFields display;
    Desktop desktop{test.desktop.waitCursor, test.desktop.timer,     display,
                    test.desktop.logList,    test.desktop.logViewer, test.desktop.runButtons,
                    test.desktop.desktop.processes};
    TestPortStoreAccess access;
    std::unique_ptr<Station> station;
};

