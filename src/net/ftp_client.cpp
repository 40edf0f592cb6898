#include "net/ftp_client.h"

#include "net/result_codes.h"

namespace {

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

}  // namespace

FtpClient::FtpClient() : ftp_(*this), sftp_(*this)
{
}

FtpClient::~FtpClient()
{
    ClearDirectory();
    Logout();
}

void FtpClient::SetTransferLimits(int receiveTimeoutMs, int lowSpeedMs)
{
    ftp_.SetTransferLimits(receiveTimeoutMs, lowSpeedMs);
}

int FtpClient::OnConnected(SocketHandle, const std::string&)
{
    return ftp_.Greeting();
}

int FtpClient::Login(const std::string& host, const std::string& user, const std::string& password,
                     const std::string& account)
{
    Logout();
    return OnError(protocol_->Login(host, user, password, account));
}

int FtpClient::Logout()
{
    return OnError(protocol_->Logout());
}

int FtpClient::Rename(const std::string& oldName, const std::string& newName)
{
    return OnError(protocol_->Rename(oldName, newName));
}

int FtpClient::DeleteFile(const std::string& name)
{
    return OnError(protocol_->DeleteFile(name));
}

int FtpClient::GetFileSize(const std::string& name, long long& size)
{
    return OnError(protocol_->GetFileSize(name, size));
}

int FtpClient::GetCurrentDirectory(std::string& directory)
{
    std::string text;
    int result = protocol_->GetCurrentDirectory(text);
    if (result != UTE_SUCCESS)
        return OnError(result);
    // The first run without double quotes: a quoted path comes out without its quotes.
    size_t start = text.find_first_not_of('"');
    directory = start == std::string::npos ? std::string() : text.substr(start, text.find('"', start) - start);
    return OnError(UTE_SUCCESS);
}

int FtpClient::ChangeDirectory(const std::string& path)
{
    return OnError(protocol_->ChangeDirectory(path));
}

int FtpClient::ChangeDirectoryUp()
{
    return OnError(protocol_->ChangeDirectoryUp());
}

int FtpClient::MakeDirectory(const std::string& name)
{
    return OnError(protocol_->MakeDirectory(name));
}

int FtpClient::RemoveDirectory(const std::string& name)
{
    return OnError(protocol_->RemoveDirectory(name));
}

int FtpClient::Noop()
{
    return OnError(protocol_->Noop());
}

int FtpClient::Help(const std::string& topic)
{
    return OnError(protocol_->Help(topic));
}

int FtpClient::Quote(const std::string& commandLine)
{
    return OnError(ftp_.Quote(commandLine));
}

int FtpClient::GetResponseLineCount() const
{
    return static_cast<int>(ftp_.ResponseLines().size());
}

std::string FtpClient::GetResponseLine(int index) const
{
    if (index < 0 || index >= GetResponseLineCount())
        return "";
    return ftp_.ResponseLines()[static_cast<size_t>(index)];
}

int FtpClient::SetTransferType(int type)
{
    if (!InRange(type, 0, 1))
        return OnError(UTE_PARAMETER_INVALID_VALUE);
    return OnError(protocol_->SetRepresentation(StoreProtocol::Representation::Type, type));
}

void FtpClient::SetTransferTypeWithNext(int type)
{
    if (InRange(type, 0, 1))
        protocol_->SetRepresentationWithNext(StoreProtocol::Representation::Type, type);
}

std::vector<StoreAnswer> FtpClient::GetFileSizes(const std::vector<std::string>& names)
{
    std::vector<StoreAnswer> answers = protocol_->GetFileSizes(names);
    for (StoreAnswer& answer : answers)
        answer.code = OnError(answer.code);
    return answers;
}

std::vector<StoreAnswer> FtpClient::DeleteFiles(const std::vector<std::string>& names)
{
    std::vector<StoreAnswer> answers = protocol_->DeleteFiles(names);
    for (StoreAnswer& answer : answers)
        answer.code = OnError(answer.code);
    return answers;
}

int FtpClient::SetTransferMode(int mode)
{
    if (!InRange(mode, 0, 2))
        return OnError(UTE_PARAMETER_INVALID_VALUE);
    return OnError(protocol_->SetRepresentation(StoreProtocol::Representation::Mode, mode));
}

int FtpClient::SetStructure(int structure)
{
    if (!InRange(structure, 0, 2))
        return OnError(UTE_PARAMETER_INVALID_VALUE);
    return OnError(protocol_->SetRepresentation(StoreProtocol::Representation::Structure, structure));
}

int FtpClient::GetDirEntry(int index, FtpDirEntry& entry)
{
    return OnError(protocol_->GetDirEntry(index, entry));
}

int FtpClient::GetFile(const std::string& remoteName, const std::string& localPath)
{
    return OnError(protocol_->GetFile(remoteName, localPath));
}

int FtpClient::PutFile(const std::string& localPath, const std::string& remoteName)
{
    return OnError(protocol_->PutFile(localPath, remoteName));
}

int FtpClient::ListDirectory()
{
    return OnError(protocol_->ListDirectory());
}

int FtpClient::GetToSource(TransferSource& source, const std::string& remoteName)
{
    return OnError(ftp_.Download(source, remoteName, GetPassiveMode() != 0, false));
}

int FtpClient::GetFileToName(const std::string& remoteName, const std::string& localPath)
{
    FileTransferSource source(localPath, 4096);
    return GetPassive(source, remoteName);
}

int FtpClient::GetPassive(TransferSource& source, const std::string& remoteName)
{
    return OnError(ftp_.Download(source, remoteName, true, false));
}

int FtpClient::ResumeFile(const std::string& remoteName, const std::string& localPath)
{
    FileTransferSource source(localPath, 4096);
    return ResumeToSource(source, remoteName);
}

int FtpClient::ResumeToSource(TransferSource& source, const std::string& remoteName)
{
    return OnError(ftp_.Download(source, remoteName, GetPassiveMode() != 0, true));
}

int FtpClient::ResumePassive(TransferSource& source, const std::string& remoteName)
{
    return OnError(ftp_.Download(source, remoteName, true, true));
}

int FtpClient::PutFromSource(TransferSource& source, const std::string& remoteName)
{
    return OnError(ftp_.Upload(source, remoteName, GetPassiveMode() != 0));
}

int FtpClient::PutFileFromName(const std::string& localPath, const std::string& remoteName)
{
    FileTransferSource source(localPath, 4096);
    return PutPassive(source, remoteName);
}

int FtpClient::PutPassive(TransferSource& source, const std::string& remoteName)
{
    return OnError(ftp_.Upload(source, remoteName, true));
}

int FtpClient::ListPassive()
{
    return OnError(ftp_.List(true));
}
