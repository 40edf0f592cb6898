// Whole test files: written with the folders they need, read back as bytes, listed.
#pragma once

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

inline void WriteTestFile(const std::string& path, const std::string& bytes)
{
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::ofstream(path, std::ios::binary) << bytes;
}

// Empty when the file cannot be read.
inline std::string ReadTestFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The regular files below a folder, as sorted relative paths; none for a missing folder.
inline std::vector<std::string> FilesBelow(const std::string& folder)
{
    std::vector<std::string> files;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_regular_file())
            files.push_back(std::filesystem::relative(it->path(), folder).string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A document the station takes for a PDF file: it names itself and is padded to the size.
inline std::string Document(const std::string& name, std::size_t size)
{
    std::string bytes = "%PDF-1.4 " + name + "\n";
    bytes.resize(std::max(size, bytes.size()), '.');
    return bytes;
}

// Bytes of the given length that show where a piece went missing or was doubled.
inline std::string PatternBytes(std::size_t length)
{
    std::string bytes(length, '\0');
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<char>('a' + (i * 7 + i / 26) % 26);
    return bytes;
}
