// What later calls will ask for, sent with the requests of the calls in between: files
// for later gets and folders for later changes, so that a store far away answers them
// while the call in hand runs.
#include <algorithm>

#include "connection.h"

bool Connection::GetAhead(const std::vector<std::string>& names)
{
    if (!Usable()) {
        return false;
    }
    for (const std::string& name : names) {
        std::string path;
        if (announcedFiles_.size() >= kAnnounced || !RemotePath(name, path)) {
            break;
        }
        if (std::none_of(announcedFiles_.begin(), announcedFiles_.end(),
                         [&](const AnnouncedFile& file) { return file.path == path; })) {
            AnnouncedFile& file = announcedFiles_.emplace_back();
            file.path = path;
            file.opening = channel_->Send(SSH_FXP_OPEN, Message().String(path).U32(SSH_FXF_READ).U32(0));
        }
    }
    return true;
}

void Connection::Advance()
{
    for (AnnouncedFile& file : announcedFiles_) {
        if (file.opening == 0 || !channel_->Take(file.opening, file.opened)) {
            continue;
        }
        file.opening = 0;
        if (file.opened.type != SSH_FXP_HANDLE) {
            continue;
        }
        file.handle = Fields(file.opened.body).String();
        file.sizing = channel_->Send(SSH_FXP_FSTAT, Message().String(file.handle));
        file.reads = std::make_unique<ReadAhead>(*channel_, file.handle);
        file.reads->Start(ReadAhead::kAnnouncedFlight);
    }
}

void Connection::Release(AnnouncedFile& file)
{
    file.reads.reset();
    if (file.opening != 0) {
        channel_->ForgetOpen(file.opening);
    }
    if (file.sizing != 0) {
        channel_->Forget(file.sizing);
    }
    CloseHandle(file.handle);
}

void Connection::DropAnnounced()
{
    for (AnnouncedFile& file : announcedFiles_) {
        Release(file);
    }
    announcedFiles_.clear();
}

std::optional<Connection::AnnouncedFile> Connection::TakeAnnounced(const std::string& path)
{
    auto found = std::find_if(announcedFiles_.begin(), announcedFiles_.end(),
                              [&](const AnnouncedFile& file) { return file.path == path; });
    if (found == announcedFiles_.end()) {
        return std::nullopt;
    }
    // The files announced before it were passed over.
    for (auto passed = announcedFiles_.begin(); passed != found; ++passed) {
        Release(*passed);
    }
    AnnouncedFile file = std::move(*found);
    announcedFiles_.erase(announcedFiles_.begin(), found + 1);
    return file;
}

bool Connection::ChangeDirectoryAhead(const std::string& path)
{
    std::string target;
    if (!Usable() || !RemotePath(path, target)) {
        return false;
    }
    if (announcedFolders_.size() < kAnnounced) {
        announcedFolders_.push_back({target, channel_->Send(SSH_FXP_REALPATH, Message().String(target)),
                                     channel_->Send(SSH_FXP_STAT, Message().String(target)),
                                     channel_->Send(SSH_FXP_OPENDIR, Message().String(target))});
    }
    return true;
}

Connection::AnnouncedFolder Connection::FolderRequests(const std::string& path)
{
    auto found = std::find_if(announcedFolders_.begin(), announcedFolders_.end(),
                              [&](const AnnouncedFolder& folder) { return folder.path == path; });
    if (found == announcedFolders_.end()) {
        return {path, channel_->Send(SSH_FXP_REALPATH, Message().String(path)),
                channel_->Send(SSH_FXP_STAT, Message().String(path)),
                channel_->Send(SSH_FXP_OPENDIR, Message().String(path))};
    }
    const AnnouncedFolder folder = *found;
    // The folders announced before it were passed over.
    for (auto passed = announcedFolders_.begin(); passed != found; ++passed) {
        channel_->Forget(passed->resolving);
        channel_->Forget(passed->checking);
        channel_->ForgetOpen(passed->opening);
    }
    announcedFolders_.erase(announcedFolders_.begin(), found + 1);
    return folder;
}
