#include "spool/station_lock.h"

#include "fakes/recording_message_boxes.h"
#include "tools/temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

TEST(StationLock, ASecondStationInTheFolderIsRefusedUntilTheFirstEndsOrIsKilled)
{
    TempFolder folder;
    RecordingMessageBoxes boxes;
    {
        StationLock running;
        ASSERT_TRUE(ClaimStationFolder(running, folder.Path(), "ts_print"));
        StationLock second;
        EXPECT_FALSE(ClaimStationFolder(second, folder.Path(), "kv_print"));
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, "Im Ordner " + folder.Path() + " läuft bereits ein ts_print.");
        EXPECT_EQ(boxes.boxes[0].style, BoxStyle::Error);
    }

    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t holder = fork();
    if (holder == 0) {
        StationLock lock;
        bool held = lock.Acquire(folder.Path(), "kv_print", nullptr);
        char answer = held ? '1' : '0';
        static_cast<void>(write(ready[1], &answer, 1));
        pause();
        _exit(0);
    }
    char answer = 0;
    ASSERT_EQ(read(ready[0], &answer, 1), 1);
    EXPECT_EQ(answer, '1');
    StationLock refused;
    EXPECT_FALSE(refused.Acquire(folder.Path(), "kv_print", nullptr));
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    StationLock after;
    EXPECT_TRUE(ClaimStationFolder(after, folder.Path(), "kv_print"));
    EXPECT_EQ(boxes.boxes.size(), 1u);
    close(ready[0]);
    close(ready[1]);
}
