#include "ui/settings_control_rules.h"

#include <gtest/gtest.h>

TEST(SettingsControlRules, LocalBoxSwitchesBetweenLocalFolderAndStore)
{
    SettingsControlStates remote = SettingsControlRules(0, 1, false, false, false);
    EXPECT_TRUE(remote.serverGroupShown);
    EXPECT_TRUE(remote.serverGroupEnabled);
    EXPECT_TRUE(remote.storeGroupEnabled);
    EXPECT_TRUE(remote.passiveEnabled);
    EXPECT_FALSE(remote.localFolderEnabled);

    SettingsControlStates local = SettingsControlRules(0, 1, true, false, false);
    EXPECT_FALSE(local.serverGroupEnabled);
    EXPECT_FALSE(local.storeGroupEnabled);
    EXPECT_FALSE(local.passiveEnabled);
    EXPECT_TRUE(local.localFolderEnabled);
    EXPECT_TRUE(local.serverGroupShown);
}

TEST(SettingsControlRules, PassiveAndTlsOnlyWithoutSftpAndWithoutLocalMode)
{
    EXPECT_FALSE(SettingsControlRules(0, 1, false, true, false).passiveEnabled);
    EXPECT_FALSE(SettingsControlRules(0, 1, true, true, false).passiveEnabled);
    EXPECT_TRUE(SettingsControlRules(0, 1, false, false, false).passiveEnabled);
    EXPECT_FALSE(SettingsControlRules(0, 1, false, true, false).tlsEnabled);
    EXPECT_FALSE(SettingsControlRules(0, 1, true, false, false).tlsEnabled);
    EXPECT_TRUE(SettingsControlRules(0, 1, false, false, false).tlsEnabled);
    // SFTP leaves the rest of the store group usable.
    EXPECT_TRUE(SettingsControlRules(0, 1, false, true, false).storeGroupEnabled);
}

TEST(SettingsControlRules, WithoutTheServiceTheServerStaysDisabled)
{
    for (bool local : {false, true}) {
        SettingsControlStates states = SettingsControlRules(0, 0, local, false, false);
        EXPECT_TRUE(states.serverGroupShown);
        EXPECT_FALSE(states.serverGroupEnabled);
        EXPECT_EQ(states.storeGroupEnabled, !local);
    }
}

TEST(SettingsControlRules, TessalineModeShowsTheFolderListInsteadOfTheServer)
{
    for (int korvidMode : {0, 1}) {
        SettingsControlStates states = SettingsControlRules(1, korvidMode, false, false, true);
        EXPECT_FALSE(states.serverGroupShown);
        EXPECT_FALSE(states.serverGroupEnabled);
        EXPECT_TRUE(states.folderListShown);
        EXPECT_TRUE(states.storeGroupEnabled);
        EXPECT_EQ(states.logBoxCaption, "Aktivitäten von ts_print in Datei loggen (Historie) ?");
    }
    SettingsControlStates korvid = SettingsControlRules(0, 1, false, false, true);
    EXPECT_FALSE(korvid.folderListShown);
    EXPECT_EQ(korvid.logBoxCaption, "Aktivitäten von kv_print in Datei loggen (Historie) ?");
}

TEST(SettingsControlRules, LogFileFieldsFollowTheLogBox)
{
    EXPECT_TRUE(SettingsControlRules(0, 1, false, false, true).logFileEnabled);
    EXPECT_FALSE(SettingsControlRules(0, 1, false, false, false).logFileEnabled);
    EXPECT_FALSE(SettingsControlRules(1, 1, true, true, false).logFileEnabled);
}
