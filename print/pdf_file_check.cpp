#include "pdf_file_check.h"

#include "translation.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kHeaderWindow = 1024;

}  // namespace

bool HasPdfHeader(std::string_view head)
{
    return head.substr(0, kHeaderWindow).find("%PDF-") != std::string_view::npos;
}

PdfFileCheck CheckPdfFile(const std::string& path, std::string& reason)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        reason = Fill(Tr("cannot open \"%1\": %2"), {path, std::strerror(errno)});
        return PdfFileCheck::Unreadable;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        reason = Fill(Tr("\"%1\" is not a regular file"), {path});
        return PdfFileCheck::Unreadable;
    }

    std::string head(kHeaderWindow, '\0');
    size_t filled = 0;
    while (filled < head.size()) {
        const ssize_t got = read(fd, head.data() + filled, head.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            reason = Fill(Tr("cannot read \"%1\": %2"), {path, std::strerror(errno)});
            close(fd);
            return PdfFileCheck::Unreadable;
        }
        if (got == 0)
            break;
        filled += static_cast<size_t>(got);
    }
    close(fd);
    head.resize(filled);
    if (!HasPdfHeader(head)) {
        reason = Fill(Tr("\"%1\" is not a PDF document"), {path});
        return PdfFileCheck::NotPdf;
    }
    return PdfFileCheck::Pdf;
}
