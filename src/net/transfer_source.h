// Sources and sinks of the socket client's file transfers.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace SourceMode {
constexpr int Read = 0;    // read an existing source
constexpr int Create = 1;  // create or overwrite for writing
constexpr int Append = 2;  // create if missing; every write goes to the end
}  // namespace SourceMode

class TransferSource {
public:
    virtual ~TransferSource() = default;

    // A new, closed source of the same kind and name.
    virtual std::unique_ptr<TransferSource> Clone() const = 0;
    // 0 on success, -1 on failure.
    virtual int Open(int mode) = 0;
    virtual int Close() = 0;
    // The next line with its line end; a line that does not fit into size-1 bytes comes in
    // pieces. Returns the length, 0 at the end.
    virtual int ReadLine(std::string& line, int size) = 0;
    // Writes the text and a CR LF unless it ends in CR or LF already; 0 or -1.
    virtual int WriteLine(const std::string& text) = 0;
    // The count moved, or -1.
    virtual long Read(char* buffer, long size) = 0;
    virtual long Write(const char* data, long length) = 0;
    // Origin 0 start, 1 current position, 2 end; the new position or -1.
    virtual long Seek(long offset, int origin) = 0;
    // The offset of the text at or after start, looking at most limit bytes far
    // (0: to the end), or -1.
    virtual long Find(const std::string& text, long start, bool caseSensitive, long limit) = 0;
};

class FileTransferSource : public TransferSource {
public:
    explicit FileTransferSource(const std::string& fileName, int bufferSize = 4096);
    ~FileTransferSource() override;
    FileTransferSource(const FileTransferSource&) = delete;
    FileTransferSource& operator=(const FileTransferSource&) = delete;

    std::unique_ptr<TransferSource> Clone() const override;
    int Open(int mode) override;
    int Close() override;
    int ReadLine(std::string& line, int size) override;
    int WriteLine(const std::string& text) override;
    long Read(char* buffer, long size) override;
    long Write(const char* data, long length) override;
    long Seek(long offset, int origin) override;
    long Find(const std::string& text, long start, bool caseSensitive, long limit) override;

    bool IsOpen() const { return file_ >= 0; }

private:
    bool FillBuffer();

    std::string fileName_;
    std::vector<char> buffer_;
    int filled_ = 0;   // bytes in the line buffer
    int used_ = 0;     // of those, bytes already handed out
    int file_ = -1;
};
