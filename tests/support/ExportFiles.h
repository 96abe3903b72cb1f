#pragma once

// Writes export files as the member administration writes them (Windows-1252, CR LF) and
// reads the conversion log back as text, for tests that compare it byte for byte.

#include "text/Windows1252.h"

#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

inline void writeExportFile(const std::string& path, const std::vector<std::string>& lines)
{
    std::ofstream file(path, std::ios::binary);
    for (const std::string& line : lines)
        file << text::encodeWindows1252(line) << "\r\n";
}

inline void writeExportFile(const std::string& path, std::initializer_list<std::string> lines)
{
    writeExportFile(path, std::vector<std::string>(lines));
}

inline std::string readBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The log as UTF-8 text, its CR LF kept.
inline std::string readLog(const std::string& path)
{
    return text::decodeWindows1252(readBytes(path));
}
