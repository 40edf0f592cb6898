#include "app/store_not_available.h"

#include "fakes/fake_desktop.h"
#include "fakes/recording_message_boxes.h"
#include "fakes/recording_process_runner.h"
#include "spool/polling_cycle.h"
#include "spool/station.h"

#include <gtest/gtest.h>

namespace {

StationSettings RemoteSettings(int sftp)
{
    StationSettings settings;
    settings.KV_FTP_Store = "store.example";
    settings.KV_FTP_Store_User = "bibliothek";
    settings.KV_Sftp_Mode = sftp;
    settings.KV_Inst_ID = "4711";
    settings.Printer_PDF_Prog = "/bin/true";
    return settings;
}

}  // namespace

TEST(StoreNotAvailable, RemoteCycleReportsTheFailedLoginAndPrintsNothing)
{
    for (int sftp : {0, 1}) {
        RecordingMessageBoxes boxes;
        RecordingProcessRunner processes;
        FakeDesktop desktop(processes);
        StoreNotAvailable store;
        Station station(RemoteSettings(sftp), desktop.desktop, store);

        RunCycle(station);

        const char* protocol = sftp ? "SFTP" : "FTP";
        ASSERT_EQ(boxes.boxes.size(), 1u) << protocol;
        EXPECT_EQ(boxes.boxes[0].caption, std::string("Error during ") + protocol + "-Operation");
        EXPECT_EQ(boxes.boxes[0].style, BoxStyle::Error);
        const std::string& text = boxes.boxes[0].text;
        EXPECT_NE(text.find(std::string("Konnte nicht am ") + protocol +
                            "-Server store.example mit Nutzer bibliothek anmelden!"),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find(kStoreNotAvailableText), std::string::npos) << text;
        EXPECT_TRUE(processes.started.empty());
        EXPECT_FALSE(station.Run().ErrorBoxOpen);
    }
}
