// Reading and writing whole test files.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// Writes the bytes into the file, creating its folders.
inline void WriteTestFile(const std::string& path, const std::string& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadTestFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
