#include "net/transfer_source.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::string Trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void UpperCase(std::string& text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

}  // namespace

FileTransferSource::FileTransferSource(const std::string& fileName, int bufferSize)
    : fileName_(fileName), buffer_(static_cast<size_t>(std::max(bufferSize, 2)))
{
}

FileTransferSource::~FileTransferSource()
{
    Close();
}

std::unique_ptr<TransferSource> FileTransferSource::Clone() const
{
    return std::make_unique<FileTransferSource>(fileName_, static_cast<int>(buffer_.size()));
}

int FileTransferSource::Open(int mode)
{
    Close();
    std::string name = Trimmed(fileName_);
    if (name.empty())
        return -1;
    int flags;
    switch (mode) {
    case SourceMode::Read:
        flags = O_RDONLY;
        break;
    case SourceMode::Create:
        flags = O_RDWR | O_CREAT | O_TRUNC;
        break;
    case SourceMode::Append:
        flags = O_RDWR | O_CREAT | O_APPEND;
        break;
    default:
        return -1;
    }
    file_ = open(name.c_str(), flags | O_CLOEXEC, 0666);
    return file_ >= 0 ? 0 : -1;
}

int FileTransferSource::Close()
{
    filled_ = used_ = 0;
    if (file_ < 0)
        return 0;
    int result = close(file_);
    file_ = -1;
    return result == 0 ? 0 : -1;
}

bool FileTransferSource::FillBuffer()
{
    ssize_t count;
    do
        count = read(file_, buffer_.data(), buffer_.size());
    while (count < 0 && errno == EINTR);
    used_ = 0;
    filled_ = count > 0 ? static_cast<int>(count) : 0;
    return filled_ > 0;
}

int FileTransferSource::ReadLine(std::string& line, int size)
{
    line.clear();
    if (file_ < 0 || size < 2)
        return 0;
    while (static_cast<int>(line.size()) < size - 1) {
        if (used_ == filled_ && !FillBuffer())
            break;
        char c = buffer_[static_cast<size_t>(used_++)];
        line.push_back(c);
        if (c == '\n')
            break;
    }
    return static_cast<int>(line.size());
}

int FileTransferSource::WriteLine(const std::string& text)
{
    std::string line = text;
    if (line.empty() || (line.back() != '\r' && line.back() != '\n'))
        line += "\r\n";
    long length = static_cast<long>(line.size());
    return Write(line.data(), length) == length ? 0 : -1;
}

long FileTransferSource::Read(char* buffer, long size)
{
    if (file_ < 0 || size < 0)
        return -1;
    long count = 0;
    if (used_ < filled_) {
        count = std::min<long>(size, filled_ - used_);
        std::copy_n(buffer_.data() + used_, count, buffer);
        used_ += static_cast<int>(count);
        return count;
    }
    ssize_t got;
    do
        got = read(file_, buffer, static_cast<size_t>(size));
    while (got < 0 && errno == EINTR);
    return got < 0 ? -1 : static_cast<long>(got);
}

long FileTransferSource::Write(const char* data, long length)
{
    if (file_ < 0 || length < 0)
        return -1;
    long written = 0;
    while (written < length) {
        ssize_t count = write(file_, data + written, static_cast<size_t>(length - written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return written > 0 ? written : -1;
        written += count;
    }
    return written;
}

long FileTransferSource::Seek(long offset, int origin)
{
    if (file_ < 0)
        return -1;
    int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : origin == 2 ? SEEK_END : -1;
    if (whence < 0)
        return -1;
    // Bytes read ahead into the line buffer are not yet handed out.
    if (whence == SEEK_CUR)
        offset -= filled_ - used_;
    filled_ = used_ = 0;
    off_t position = lseek(file_, offset, whence);
    return position < 0 ? -1 : static_cast<long>(position);
}

long FileTransferSource::Find(const std::string& text, long start, bool caseSensitive, long limit)
{
    constexpr long kBlock = 4095;
    if (file_ < 0 || text.empty() || text.size() >= 4096 || start < 0)
        return -1;
    std::string wanted = text;
    if (!caseSensitive)
        UpperCase(wanted);
    const long overlap = static_cast<long>(wanted.size()) - 1;
    const long end = limit > 0 ? start + limit : -1;
    std::string window;
    long windowStart = start;
    long offset = start;
    std::vector<char> block(kBlock);
    for (;;) {
        long want = end < 0 ? kBlock : std::min(kBlock, end - offset);
        if (want <= 0)
            return -1;
        ssize_t count = pread(file_, block.data(), static_cast<size_t>(want), offset);
        if (count <= 0)
            return -1;
        std::string chunk(block.data(), static_cast<size_t>(count));
        if (!caseSensitive)
            UpperCase(chunk);
        window += chunk;
        offset += count;
        size_t found = window.find(wanted);
        if (found != std::string::npos)
            return windowStart + static_cast<long>(found);
        // Keep the tail that a match across the block border could begin in.
        long keep = std::min<long>(overlap, static_cast<long>(window.size()));
        windowStart += static_cast<long>(window.size()) - keep;
        window.erase(0, window.size() - static_cast<size_t>(keep));
    }
}
