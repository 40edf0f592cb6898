// The station without its window for one polling cycle: started by a test that kills it
// in the middle and starts it again. Fetches from the FTP store on 127.0.0.1 in the
// Korvid mode, passive, and prints with the test print program.
// Usage: station_cycle_driver <folder> <port> <user> <password>
#include "fakes/fake_desktop.h"
#include "fakes/recording_message_boxes.h"
#include "platform/posix_process_runner.h"
#include "spool/store_station.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s <folder> <port> <user> <password>\n", argv[0]);
        return 2;
    }
    StationSettings settings = StoreKorvidSettings(argv[1], argv[3], argv[4]);
    settings.KV_Ftp_Passive = 1;
    settings.OnErrorLogOnly = 1;
    std::filesystem::create_directories(settings.ProgramFolder);
    std::filesystem::create_directories(settings.SpoolDir);
    // Start looks for the SFTP component in the program folder.
    std::error_code exists;
    std::filesystem::create_symlink(PSFTP_DLL_DIR "/psftp_dll.so", settings.ProgramFolder + "/psftp_dll.so", exists);

    RecordingMessageBoxes boxes;
    PosixProcessRunner processes;
    FakeDesktop desktop(processes);
    TestPortStoreAccess access;
    access.ftpPort = std::atoi(argv[2]);
    Station station(settings, desktop.desktop, access);
    station.CreateSpoolFolders();
    // Start runs the first cycle at once.
    station.StartPolling();
    station.StopPolling();
    for (const ShownBox& box : boxes.boxes)
        std::fprintf(stderr, "%s: %s\n", box.caption.c_str(), box.text.c_str());
    return station.Run().running || !boxes.boxes.empty() ? 1 : 0;
}
