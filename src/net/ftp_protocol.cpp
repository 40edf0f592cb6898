#include "net/ftp_protocol.h"

#include "net/ftp_client.h"
#include "net/ftp_reply_line.h"
#include "net/result_codes.h"

#include <cstdlib>
#include <ctime>

namespace {

// Of a longer reply line the rest is dropped.
constexpr size_t kReplyLineKept = 260;
constexpr size_t kLastResponseLength = 259;
// More lines than any server's reply holds: a reply that goes on beyond them would hold
// the client for as long as the server keeps sending, so it counts as no reply.
constexpr size_t kMaxReplyLines = 10000;

int MillisecondsSinceStart()
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<int>((now.tv_sec % 1000000) * 1000 + now.tv_nsec / 1000000);
}

bool InRange(int code, int low, int high)
{
    return code >= low && code <= high;
}

}  // namespace

FtpProtocol::FtpProtocol(FtpClient& control)
    : control_(control), dataChannel_(control, tls_), dataPort_(MillisecondsSinceStart() % 20000 + 10000)
{
}

void FtpProtocol::SetTransferLimits(int receiveTimeoutMs, int lowSpeedMs)
{
    control_.SetReceiveTimeout(receiveTimeoutMs);
    dataChannel_.SetReceiveTimeout(receiveTimeoutMs);
    dataChannel_.SetLowSpeedLimit(LowSpeedLimit::kBytes, lowSpeedMs);
}

std::string FtpProtocol::FailureReason(int code) const
{
    const std::string refusal = tls_.RefusalText();
    return refusal.empty() || code == UTE_SUCCESS ? control_.FailureReason(code) : refusal;
}

bool FtpProtocol::ConnectionLost() const
{
    return !control_.IsConnected();
}

int FtpProtocol::Greeting()
{
    int code = ReadReply();
    if (code == 0)
        return UTE_NO_RESPONSE;
    if (InRange(code, 200, 399))
        return control_.IsAborted() ? UTE_ABORTED : UTE_SUCCESS;
    return UTE_CONNECT_FAILED;
}

namespace {

const char* RepresentationCommand(StoreProtocol::Representation setting, int value)
{
    static const char* const kTypes[] = {"TYPE A", "TYPE I"};
    static const char* const kModes[] = {"MODE S", "MODE B", "MODE C"};
    static const char* const kStructures[] = {"STRU F", "STRU R", "STRU P"};
    switch (setting) {
    case StoreProtocol::Representation::Type:
        return kTypes[value];
    case StoreProtocol::Representation::Mode:
        return kModes[value];
    case StoreProtocol::Representation::Structure:
        break;
    }
    return kStructures[value];
}

}  // namespace

void FtpProtocol::SendCommand(const std::string& command)
{
    SendFlight({command});
}

std::string FtpProtocol::WaitingLines() const
{
    std::string lines;
    for (const auto& [setting, value] : withNext_)
        lines += std::string(RepresentationCommand(setting, value)) + "\r\n";
    return lines;
}

void FtpProtocol::SendFlight(const std::vector<std::string>& commands)
{
    lineBuffer_ = WaitingLines();
    const auto waiting = std::move(withNext_);
    withNext_.clear();
    for (const std::string& command : commands)
        lineBuffer_ += command + "\r\n";
    // A failed send shows up as a missing reply.
    control_.SendAll(lineBuffer_.c_str(), static_cast<int>(lineBuffer_.size()));
    for (const auto& [setting, value] : waiting)
        RepresentationReply(setting, value);
}

void FtpProtocol::LoseStep()
{
    withNext_.clear();
    control_.CloseConnectionSocket();
    dataChannel_.CloseConnection();
}

StoreOutcome FtpProtocol::Judge(FtpCommand kind, int code)
{
    lastOutcome_ = FtpReplyOutcome(kind, code);
    if (lastOutcome_ == StoreOutcome::Unknown)
        LoseStep();
    return lastOutcome_;
}

bool FtpProtocol::Proceeds(FtpCommand kind, int code)
{
    StoreOutcome outcome = Judge(kind, code);
    return outcome == StoreOutcome::Goes || outcome == StoreOutcome::Done;
}

StoreOutcome FtpProtocol::Final(FtpCommand kind, int code)
{
    if (Judge(kind, code) == StoreOutcome::Goes) {
        // A second preliminary reply: what follows cannot be told apart.
        LoseStep();
        lastOutcome_ = StoreOutcome::Unknown;
    }
    return lastOutcome_;
}

bool FtpProtocol::Expected(int code, int low, int high)
{
    if (InRange(code, low, high))
        return true;
    if (InRange(code, 100, 399))
        LoseStep();
    return false;
}

int FtpProtocol::ReadReply(std::string* text)
{
    // The whole reply, every line of it, within one receive time-out.
    const SocketDeadline deadline = control_.ReceiveDeadline();
    auto noReply = [&] {
        // What did not come whole may still come, as the answer to the next command.
        LoseStep();
        lineBuffer_ = "    NO RESPONSE";
        if (text)
            *text = lineBuffer_;
        return 0;
    };
    if (control_.ReceiveLineWithin(lineBuffer_, kReplyLineKept, deadline) != UTE_SUCCESS)
        return noReply();
    TrimLineEnd(lineBuffer_);
    const int code = ReplyCode(lineBuffer_);

    if (lineBuffer_.size() > 3 && lineBuffer_[3] == '-') {
        // A multi-line reply ends with the line that repeats the code followed by a blank.
        const std::string finalPrefix = lineBuffer_.substr(0, 3) + " ";
        responseLines_.clear();
        size_t lines = 0;
        while (lineBuffer_.compare(0, 4, finalPrefix) != 0) {
            if (++lines > kMaxReplyLines)
                return noReply();
            responseLines_.push_back(lineBuffer_);
            std::string next;
            if (control_.ReceiveLineWithin(next, kReplyLineKept, deadline) != UTE_SUCCESS)
                return noReply();
            TrimLineEnd(next);
            lineBuffer_ = next;
        }
    }
    responseLines_.push_back(lineBuffer_);
    lastResponse_ = lineBuffer_.substr(0, kLastResponseLength);
    if (text)
        *text = lineBuffer_.size() > 4 ? lineBuffer_.substr(4) : std::string();
    return code;
}

int FtpProtocol::CommandReply(FtpCommand kind, const std::string& command)
{
    SendCommand(command);
    return CommandResult(kind);
}

int FtpProtocol::CommandResult(FtpCommand kind)
{
    int code = ReadReply();
    StoreOutcome outcome = Judge(kind, code);
    if (code == 0)
        return UTE_NO_RESPONSE;
    return outcome == StoreOutcome::Done ? UTE_SUCCESS : UTE_SVR_REQUEST_DENIED;
}

int FtpProtocol::Login(const std::string& host, const std::string& user, const std::string& password,
                       const std::string& account)
{
    responseLines_.clear();
    lastResponse_.clear();
    withNext_.clear();
    int result =
        control_.Connect(controlPort_, host, connectTimeout_, SocketDefaults::kAnyFamily, SocketDefaults::kStream);
    if (result != UTE_SUCCESS || (result = StartTls(host)) != UTE_SUCCESS)
        return result;

    // USER and PASS go on with a 3xx reply (PASS only with exactly 300); ACCT has none.
    SendCommand("USER " + user);
    int code = ReadReply();
    StoreOutcome outcome = Judge(FtpCommand::LogIn, code);
    if (code == 0)
        return UTE_NO_RESPONSE;
    if (outcome == StoreOutcome::Goes) {
        SendCommand("PASS " + password);
        code = ReadReply();
        outcome = Judge(FtpCommand::LogIn, code);
        if (code == 0)
            return UTE_NO_RESPONSE;
        if (code == 300) {
            SendCommand("ACCT " + account);
            code = ReadReply();
            outcome = Judge(FtpCommand::LogIn, code);
            if (code == 0)
                return UTE_NO_RESPONSE;
            if (outcome != StoreOutcome::Done && outcome != StoreOutcome::Goes)
                return UTE_ACCT_NA;
        } else if (outcome != StoreOutcome::Done && outcome != StoreOutcome::Goes) {
            return UTE_PASS_NA;
        }
    } else if (outcome != StoreOutcome::Done) {
        return UTE_USER_NA;
    }
    // The three settings of a new session go in one flight.
    SetRepresentationWithNext(Representation::Type, 0);
    SetRepresentationWithNext(Representation::Mode, 0);
    SetRepresentationWithNext(Representation::Structure, 0);
    SendFlight({});
    return UTE_SUCCESS;
}

int FtpProtocol::Logout()
{
    // No reply is read: settings still waiting go with QUIT, their results unread.
    lineBuffer_ = WaitingLines() + "Quit\r\n";
    withNext_.clear();
    control_.SendAll(lineBuffer_.c_str(), static_cast<int>(lineBuffer_.size()));
    control_.CloseConnection();
    dataChannel_.CloseConnection();
    tls_.Reset();
    return UTE_SUCCESS;
}

int FtpProtocol::Rename(const std::string& oldName, const std::string& newName)
{
    SendCommand("RNFR " + oldName);
    int code = ReadReply();
    if (code == 0)
        return UTE_NO_RESPONSE;
    if (!Expected(code, 300, 399))
        return UTE_RNFR_NA;
    SendCommand("RNTO " + newName);
    code = ReadReply();
    if (code == 0)
        return UTE_NO_RESPONSE;
    return Expected(code, 200, 299) ? UTE_SUCCESS : UTE_RNTO_NA;
}

int FtpProtocol::DeleteFile(const std::string& name)
{
    return CommandReply(FtpCommand::Dele, "DELE " + name);
}

int FtpProtocol::GetFileSize(const std::string& name, long long& size)
{
    SendCommand("SIZE " + name);
    return SizeReply(size);
}

std::vector<StoreAnswer> FtpProtocol::GetFileSizes(const std::vector<std::string>& names)
{
    return Flight("SIZE ", names, [this](StoreAnswer& answer) { return SizeReply(answer.size); });
}

std::vector<StoreAnswer> FtpProtocol::DeleteFiles(const std::vector<std::string>& names)
{
    return Flight("DELE ", names, [this](StoreAnswer&) { return CommandResult(FtpCommand::Dele); });
}

std::vector<StoreAnswer> FtpProtocol::Flight(const std::string& verb, const std::vector<std::string>& names,
                                             const std::function<int(StoreAnswer&)>& reply)
{
    std::vector<std::string> commands;
    for (const std::string& name : names)
        commands.push_back(verb + name);
    SendFlight(commands);
    std::vector<StoreAnswer> answers(names.size());
    for (StoreAnswer& answer : answers) {
        // A reply that does not come must not show the one before it.
        lastResponse_.clear();
        answer.code = reply(answer);
        answer.outcome = lastOutcome_;
        answer.response = lastResponse_;
        answer.reason = FailureReason(answer.code);
    }
    return answers;
}

int FtpProtocol::SizeReply(long long& size)
{
    std::string text;
    int code = ReadReply(&text);
    StoreOutcome outcome = Judge(FtpCommand::Size, code);
    if (code == 0)
        return UTE_NO_RESPONSE;
    if (code == 500 || code == 502)
        return UTE_SVR_NOT_SUPPORTED;
    // Only 213 carries the size; another completion reply tells none.
    char* end = nullptr;
    long long bytes = std::strtoll(text.c_str(), &end, 10);
    if (outcome != StoreOutcome::Done || code != 213 || end == text.c_str() || bytes < 0) {
        lastOutcome_ = outcome == StoreOutcome::Unknown ? outcome : StoreOutcome::Refused;
        return UTE_SVR_REQUEST_DENIED;
    }
    size = bytes;
    return UTE_SUCCESS;
}

int FtpProtocol::GetCurrentDirectory(std::string& directory)
{
    SendCommand("PWD");
    std::string text;
    int code = ReadReply(&text);
    StoreOutcome outcome = Judge(FtpCommand::Other, code);
    if (code == 0)
        return UTE_NO_RESPONSE;
    if (outcome != StoreOutcome::Done)
        return UTE_SVR_REQUEST_DENIED;
    directory = text;
    return UTE_SUCCESS;
}

int FtpProtocol::ChangeDirectory(const std::string& path)
{
    return CommandReply(FtpCommand::Cwd, "CWD " + path);
}

int FtpProtocol::ChangeDirectoryUp()
{
    return CommandReply(FtpCommand::Other, "CDUP");
}

int FtpProtocol::MakeDirectory(const std::string& name)
{
    return CommandReply(FtpCommand::Other, "MKD " + name);
}

int FtpProtocol::RemoveDirectory(const std::string& name)
{
    return CommandReply(FtpCommand::Other, "RMD " + name);
}

int FtpProtocol::Noop()
{
    return CommandReply(FtpCommand::Other, "NOOP");
}

int FtpProtocol::Help(const std::string& topic)
{
    responseLines_.clear();
    SendCommand(topic.empty() ? "HELP" : "HELP " + topic);
    int code = ReadReply();
    if (code == 0)
        return UTE_NO_RESPONSE;
    return Expected(code, 1, 299) ? UTE_SUCCESS : UTE_SVR_REQUEST_DENIED;
}

int FtpProtocol::Quote(const std::string& commandLine)
{
    lastResponse_.clear();
    if (commandLine.empty())
        return UTE_QUOTE_LINE_IS_EMPTY;
    responseLines_.clear();
    if (!withNext_.empty())
        SendFlight({});
    control_.SendInLines(commandLine.c_str(), static_cast<int>(commandLine.size()), 256);
    return ReadReply() == 0 ? UTE_NO_RESPONSE : UTE_SUCCESS;
}

int FtpProtocol::SetRepresentation(Representation setting, int value)
{
    SendCommand(RepresentationCommand(setting, value));
    return RepresentationReply(setting, value);
}

int FtpProtocol::RepresentationReply(Representation setting, int value)
{
    int result = CommandResult(setting == Representation::Type ? FtpCommand::Type : FtpCommand::Other);
    if (result != UTE_SUCCESS)
        return result;
    switch (setting) {
    case Representation::Type:
        transferType_ = value;
        break;
    case Representation::Mode:
        transferMode_ = value;
        break;
    case Representation::Structure:
        structure_ = value;
        break;
    }
    return result;
}

int FtpProtocol::GetDirEntry(int index, FtpDirEntry& entry)
{
    if (index < 0 || index >= GetDirEntryCount())
        return UTE_INDEX_OUTOFRANGE;
    entry = entries_[static_cast<size_t>(index)];
    return UTE_SUCCESS;
}
