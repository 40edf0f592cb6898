// What each protocol's answers mean for a document: the reply table of FTP and the answer
// table of the SFTP component, in one table of rows.
#include "net/ftp_reply_table.h"
#include "net/sftp_answer_table.h"

#include <gtest/gtest.h>

TEST(StoreOutcome, EachAnswerOfEitherProtocolMeansWhatItSays)
{
    constexpr StoreOutcome D = StoreOutcome::Done, G = StoreOutcome::Goes, R = StoreOutcome::Refused,
                           U = StoreOutcome::Unknown;
    auto ftp = [](FtpCommand command, int code) { return FtpReplyOutcome(command, code); };
    auto sftp = [](SftpCall call, SftpAnswer answer) { return SftpAnswerOutcome(call, answer); };
    const struct {
        const char* answer;
        StoreOutcome meant;
        StoreOutcome expected;
    } rows[] = {
        {"DELE 200", ftp(FtpCommand::Dele, 200), D},      {"DELE 250", ftp(FtpCommand::Dele, 250), D},
        {"DELE 150", ftp(FtpCommand::Dele, 150), U},      {"DELE 350", ftp(FtpCommand::Dele, 350), U},
        {"DELE 450", ftp(FtpCommand::Dele, 450), R},      {"DELE 550", ftp(FtpCommand::Dele, 550), R},
        {"DELE none", ftp(FtpCommand::Dele, 0), U},       {"DELE 600", ftp(FtpCommand::Dele, 600), U},
        {"SIZE 213", ftp(FtpCommand::Size, 213), D},      {"SIZE 504", ftp(FtpCommand::Size, 504), R},
        {"RETR 150", ftp(FtpCommand::Retr, 150), G},      {"LIST 125", ftp(FtpCommand::List, 125), G},
        {"PASS 331", ftp(FtpCommand::LogIn, 331), G},     {"CWD 331", ftp(FtpCommand::Cwd, 331), U},
        {"PASV 227", ftp(FtpCommand::Passive, 227), D},   {"PORT 500", ftp(FtpCommand::Port, 500), R},
        {"QUIT none", ftp(FtpCommand::Quit, 0), D},       {"TYPE 421", ftp(FtpCommand::Type, 421), R},
        {"delete done", sftp(SftpCall::Delete, SftpAnswer::Done), D},
        {"delete failed, the file still there", sftp(SftpCall::Delete, SftpAnswer::Failed), R},
        {"delete failed, the file's state untold", sftp(SftpCall::Delete, SftpAnswer::Lost), U},
        {"size failed", sftp(SftpCall::Size, SftpAnswer::Failed), R},
        {"get failed, the session gone", sftp(SftpCall::Get, SftpAnswer::Lost), U},
        {"connect failed", sftp(SftpCall::Connect, SftpAnswer::Lost), R},
        {"disconnect failed", sftp(SftpCall::Disconnect, SftpAnswer::Lost), D},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.meant, row.expected) << row.answer;
}
