// A station that fetches from a store on loopback: the real store access on a test
// port, the recording desktop and the test print program of TestStation.
#pragma once

#include "spool/station.h"
#include "spool/store_document_source.h"
#include "spool/store_error_report.h"
#include "spool/test_station.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

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
    std::unique_ptr<StoreSource> Create(const StationSettings& settings, StoreContext context) override
    {
        return std::make_unique<StoreDocumentSource>(settings, context, ftpPort, sftpPort, receiveTimeoutMs,
                                                     lowSpeedMs);
    }
    int ftpPort = 21;
    int sftpPort = 22;
    int receiveTimeoutMs = SocketDefaults::kTimeoutMs;
    int lowSpeedMs = LowSpeedLimit::kMilliseconds;
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

// The fetch of one category folder from a store opened for it alone, as a cycle fetches
// it; false also when the store could not be opened.
inline bool FetchStoreFolder(Station& station, const std::string& label, const std::string& folder,
                             const std::string& destination)
{
    StoreReport report(station.Settings(), station.Run());
    std::unique_ptr<StoreSource> store =
        station.Store().Create(station.Settings(), {station.Log(), station.Seams().display, report});
    report.SetProtocol(store->ProtocolName());
    bool opened = store->Open(nullptr);
    EXPECT_TRUE(opened);
    if (!opened)
        return false;
    FetchContext context{station.Log(), station.Seams().display, station.Run().Fetches(), &report};
    bool fetched = FetchFromSource(context, *store, label, folder, destination);
    store->Close();
    return fetched;
}
