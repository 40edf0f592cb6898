#include "net/sftp_protocol.h"

#include "net/failure_reason.h"
#include "net/result_codes.h"
#include "net/sftp_binding.h"
#include "net/sftp_listing_line.h"
#include "net/ws_client.h"
#include "support/utf8.h"

#include <algorithm>
#include <filesystem>

namespace {

constexpr size_t kLastResponseLength = 259;

// The text cut to the length of the last response, never inside a UTF-8 character.
std::string CutToResponseLength(const std::string& text)
{
    return CutAtCharacter(text, kLastResponseLength);
}

}  // namespace

SftpProtocol::SftpProtocol(CUT_WSClient& client) : client_(client)
{
}

SftpProtocol::~SftpProtocol() = default;

bool SftpProtocol::Connected() const
{
    return binding_ && binding_->IsConnected();
}

bool SftpProtocol::HostKey(std::string& fingerprint, bool& recorded) const
{
    return Connected() && binding_->HostKey(fingerprint, recorded);
}

bool SftpProtocol::ConnectionLost() const
{
    return !Connected() || lost_;
}

std::string SftpProtocol::FailureReason(int code) const
{
    if (code == UTE_SUCCESS)
        return "";
    // Without a connection the component was not asked.
    if (code == UTE_SVR_DATA_CONNECT_FAILED)
        return FailureLine(Failure::ConnectionLost);
    const std::string line = ComponentFailureLine(lastResponse_);
    return line.empty() ? FailureLine(FailureOfCode(code)) : line;
}

int SftpProtocol::Result(SftpCall call, bool succeeded, int failure, const std::string& name)
{
    if (succeeded) {
        lastOutcome_ = SftpAnswerOutcome(call, SftpAnswer::Done);
        return UTE_SUCCESS;
    }
    lastResponse_ = CutToResponseLength(binding_->GetLastError());
    long long size = 0;
    const bool up = call == SftpCall::Delete ? binding_->Size(name, size) : binding_->ChangeDirectory(".");
    lost_ = call != SftpCall::Delete && !up;
    lastOutcome_ = SftpAnswerOutcome(call, up ? SftpAnswer::Failed : SftpAnswer::Lost);
    return failure;
}

int SftpProtocol::Login(const std::string& host, const std::string& user, const std::string& password,
                        const std::string&)
{
    lastResponse_.clear();
    if (binding_)
        return UTE_CONNECT_FAILED;
    auto binding = std::make_unique<SftpBinding>(componentFolder_);
    binding->SetPort(port_);
    if (!binding->Connect(host, user, password)) {
        lastResponse_ = CutToResponseLength(binding->GetLastError());
        return UTE_CONNECT_FAILED;
    }
    binding_ = std::move(binding);
    lost_ = false;
    return UTE_SUCCESS;
}

int SftpProtocol::Logout()
{
    // Destroying the binding closes the connection and unloads the component.
    binding_.reset();
    listing_.clear();
    cursor_ = 0;
    return UTE_SUCCESS;
}

int SftpProtocol::GetFile(const std::string& remoteName, const std::string& localPath)
{
    if (!Connected())
        return UTE_SVR_DATA_CONNECT_FAILED;
    int result = Result(SftpCall::Get, binding_->Get(localPath, remoteName), UTE_RETR_FAILED);
    std::error_code error;
    if (result == UTE_SUCCESS) {
        const auto size = std::filesystem::file_size(localPath, error);
        if (!error)
            client_.OnReceiveProgress(static_cast<long>(size));
    }
    return result;
}

int SftpProtocol::PutFile(const std::string& localPath, const std::string& remoteName)
{
    if (!Connected())
        return UTE_SVR_DATA_CONNECT_FAILED;
    return Result(SftpCall::Other, binding_->Put(localPath, remoteName), UTE_STOR_FAILED);
}

int SftpProtocol::ListDirectory()
{
    if (!Connected())
        return UTE_SVR_DATA_CONNECT_FAILED;
    cursor_ = 0;
    return Result(SftpCall::List, binding_->List(listing_), UTE_LIST_FAILED);
}

int SftpProtocol::GetDirEntry(int, FtpDirEntry& entry)
{
    if (!Connected())
        return UTE_SVR_DATA_CONNECT_FAILED;
    // Past the last line there is no entry to hand out: that is no success.
    if (cursor_ >= listing_.size())
        return UTE_INDEX_OUTOFRANGE;
    ParseSftpListingLine(listing_[cursor_++], entry);
    return UTE_SUCCESS;
}

int SftpProtocol::Rename(const std::string& oldName, const std::string& newName)
{
    if (!Connected())
        return UTE_SVR_DATA_CONNECT_FAILED;
    return Result(SftpCall::Other, binding_->Rename(oldName, newName), UTE_SVR_REQUEST_DENIED);
}

int SftpProtocol::DeleteFile(const std::string& name)
{
    if (!Connected()) {
        lastOutcome_ = StoreOutcome::Unknown;
        return UTE_SVR_DATA_CONNECT_FAILED;
    }
    return Result(SftpCall::Delete, binding_->Delete(name), UTE_SVR_REQUEST_DENIED, name);
}

int SftpProtocol::GetFileSize(const std::string& name, long long& size)
{
    if (!Connected()) {
        lastOutcome_ = StoreOutcome::Unknown;
        return UTE_SVR_DATA_CONNECT_FAILED;
    }
    if (!binding_->HasSize()) {
        lastOutcome_ = StoreOutcome::Refused;
        return UTE_SVR_NOT_SUPPORTED;
    }
    return Result(SftpCall::Size, binding_->Size(name, size), UTE_SVR_REQUEST_DENIED);
}

std::vector<StoreAnswer> SftpProtocol::GetFileSizes(const std::vector<std::string>& names)
{
    std::vector<StoreAnswer> answers;
    if (!Connected() || !binding_->HasFlights()) {
        for (const std::string& name : names) {
            long long size = 0;
            const int code = GetFileSize(name, size);
            answers.push_back(LastAnswer(code, size));
        }
        return answers;
    }
    std::vector<long long> sizes;
    const bool up = binding_->Sizes(names, sizes);
    lost_ = lost_ || !up;
    for (const long long size : sizes) {
        lastOutcome_ = SftpAnswerOutcome(SftpCall::Size, size >= 0 ? SftpAnswer::Done
                                                         : up ? SftpAnswer::Failed
                                                              : SftpAnswer::Lost);
        if (size < 0)
            lastResponse_ = CutToResponseLength(binding_->GetLastError());
        answers.push_back(LastAnswer(size >= 0 ? UTE_SUCCESS : UTE_SVR_REQUEST_DENIED, std::max(size, 0LL)));
    }
    return answers;
}

std::vector<StoreAnswer> SftpProtocol::DeleteFiles(const std::vector<std::string>& names)
{
    std::vector<StoreAnswer> answers;
    if (!Connected() || !binding_->HasFlights()) {
        for (const std::string& name : names)
            answers.push_back(LastAnswer(DeleteFile(name)));
        return answers;
    }
    std::vector<int> results;
    std::vector<std::string> failures;
    lost_ = lost_ || !binding_->DeleteAll(names, results, failures);
    // Whether the files of refused deletions are still there, asked in one flight.
    std::vector<std::string> refused;
    for (size_t i = 0; i < names.size(); ++i)
        if (results[i] == 0)
            refused.push_back(names[i]);
    std::vector<long long> still;
    if (!refused.empty())
        binding_->Sizes(refused, still);
    auto there = still.begin();
    for (size_t i = 0; i < names.size(); ++i) {
        const SftpAnswer answer = results[i] == 1 ? SftpAnswer::Done
            : results[i] == 0 && *there++ >= 0    ? SftpAnswer::Failed
                                                  : SftpAnswer::Lost;
        lastOutcome_ = SftpAnswerOutcome(SftpCall::Delete, answer);
        lastResponse_ = results[i] == 1 ? lastResponse_ : CutToResponseLength(failures[i]);
        answers.push_back(LastAnswer(answer == SftpAnswer::Done ? UTE_SUCCESS : UTE_SVR_REQUEST_DENIED));
    }
    return answers;
}

void SftpProtocol::GetFilesAhead(const std::vector<std::string>& names)
{
    if (Connected())
        binding_->GetAhead(names);
}

void SftpProtocol::ChangeDirectoryAhead(const std::string& path)
{
    if (Connected())
        binding_->ChangeDirectoryAhead(path);
}

int SftpProtocol::GetCurrentDirectory(std::string& directory)
{
    if (!Connected())
        return UTE_SVR_DATA_CONNECT_FAILED;
    std::string text;
    if (!binding_->Pwd(text) || text.size() > kLastResponseLength + 1)
        return Result(SftpCall::Other, false, UTE_SVR_REQUEST_DENIED);
    directory = text;
    return UTE_SUCCESS;
}

int SftpProtocol::ChangeDirectory(const std::string& path)
{
    if (!Connected())
        return UTE_SVR_DATA_CONNECT_FAILED;
    return Result(SftpCall::ChangeDirectory, binding_->ChangeDirectory(path), UTE_SVR_REQUEST_DENIED);
}

int SftpProtocol::ChangeDirectoryUp()
{
    return ChangeDirectory("..");
}

int SftpProtocol::MakeDirectory(const std::string& name)
{
    if (!Connected())
        return UTE_SVR_DATA_CONNECT_FAILED;
    return Result(SftpCall::Other, binding_->MakeDirectory(name), UTE_SVR_REQUEST_DENIED);
}

int SftpProtocol::RemoveDirectory(const std::string& name)
{
    if (!Connected())
        return UTE_SVR_DATA_CONNECT_FAILED;
    return Result(SftpCall::Other, binding_->RemoveDirectory(name), UTE_SVR_REQUEST_DENIED);
}

int SftpProtocol::Noop()
{
    return UTE_SUCCESS;
}

int SftpProtocol::Help(const std::string&)
{
    return UTE_SUCCESS;
}

int SftpProtocol::SetRepresentation(Representation, int)
{
    return UTE_SUCCESS;
}
