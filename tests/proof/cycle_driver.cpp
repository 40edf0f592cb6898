// The station without its window for one polling cycle: started by a test that kills it
// in the middle and starts it again, or traces its system calls. Korvid mode, printing
// with the test print program, from
// - ftp: the FTP store on 127.0.0.1, passive;
// - sftp: a private sshd on 127.0.0.1 started here with the document a.pdf in DELV, so
//   that a trace of this process holds the server's deletion too;
// - local: the folder tree <folder>/source.
// Usage: station_cycle_driver <folder> ftp <port> <user> <password>
//        station_cycle_driver <folder> sftp|local
#include "fakes/fake_desktop.h"
#include "fakes/recording_message_boxes.h"
#include "platform/posix_process_runner.h"
#include "spool/loopback_store.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

int main(int argc, char** argv)
{
    const bool ftp = argc == 6 && std::strcmp(argv[2], "ftp") == 0;
    const bool sftp = argc == 3 && std::strcmp(argv[2], "sftp") == 0;
    if (!ftp && !sftp && !(argc == 3 && std::strcmp(argv[2], "local") == 0)) {
        std::fprintf(stderr, "usage: %s <folder> ftp <port> <user> <password> | <folder> sftp|local\n", argv[0]);
        return 2;
    }
    StationSettings settings = ftp    ? StoreKorvidSettings(argv[1], argv[4], argv[5])
                               : sftp ? StoreKorvidSettings(argv[1], "", "")
                                      : LocalKorvidSettings(argv[1]);
    settings.KV_Ftp_Passive = 1;
    settings.OnErrorLogOnly = 1;
    std::filesystem::create_directories(settings.ProgramFolder);
    std::filesystem::create_directories(settings.SpoolDir);
    // Start looks for the SFTP component in the program folder.
    std::error_code exists;
    std::filesystem::create_symlink(PSFTP_DLL_DIR "/psftp_dll.so", settings.ProgramFolder + "/psftp_dll.so", exists);

    TestPortStoreAccess access;
    access.ftpPort = ftp ? std::atoi(argv[3]) : 0;
    std::unique_ptr<SftpLoopbackStore> store;
    if (sftp) {
        store = std::make_unique<SftpLoopbackStore>();
        std::string error;
        if (!store->Start(error)) {
            std::fprintf(stderr, "sshd: %s\n", error.c_str());
            return 1;
        }
        WriteTestFile(store->TreeFolder() + "/4711/SPOOL/DELV/a.pdf", "%PDF a");
        store->GiveTree();
        store->Configure(settings, access);
    }

    RecordingMessageBoxes boxes;
    PosixProcessRunner processes;
    FakeDesktop desktop(processes);
    Station station(settings, desktop.desktop, access);
    station.CreateSpoolFolders();
    // Start runs the first cycle at once.
    station.StartPolling();
    station.StopPolling();
    for (const ShownBox& box : boxes.boxes)
        std::fprintf(stderr, "%s: %s\n", box.caption.c_str(), box.text.c_str());
    return station.Run().Running() || !boxes.boxes.empty() ? 1 : 0;
}
