#pragma once

// Writes export files as the member administration writes them (Windows-1252, CR LF) and
// reads the conversion log back as text, for tests that compare it byte for byte.

#include "text/Windows1252.h"

#include <fstream>
#include <iterator>
#include <numeric>
#include <string>
#include <vector>

inline void writeExportFile(const std::string& path, const std::vector<std::string>& lines)
{
    std::ofstream file(path, std::ios::binary);
    for (const std::string& line : lines)
        file << text::encodeWindows1252(line) << "\r\n";
}

// A line of the members file: a man born 24.12.1961 who entered on 01.03.1990, living in the
// street given at number 12, postcode 86150.
inline std::string memberLine(const std::string& club, const std::string& number, const std::string& name,
                              const std::string& firstName = "Hans", const std::string& street = "Hauptstr.",
                              const std::string& town = "Augsburg")
{
    return "1," + club + "," + number + ",01.03.1990,,," + name + "," + firstName + ",24.12.1961,M,,,,,," + street +
           ",12,86150," + town + ",0821 12345";
}

// A line of an export file of the given number of columns, all empty but the ones given
// (column 1 is the first).
inline std::string exportLine(std::size_t columns, std::initializer_list<std::pair<std::size_t, std::string>> values)
{
    std::vector<std::string> cells(columns);
    for (const auto& [column, value] : values)
        cells[column - 1] = value;
    return std::accumulate(cells.begin() + 1, cells.end(), cells[0],
                           [](const std::string& line, const std::string& cell) { return line + "," + cell; });
}

// A text of n characters that ends in "ü", for the rules that cut or refuse at a length: a rule
// that counted bytes would cut the umlaut in half or keep a character too few.
inline std::string textOfLength(std::size_t n)
{
    return std::string(n - 1, 'a') + "ü";
}

inline std::string readBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The log as UTF-8 text, its CR LF kept.
inline std::string readLog(const std::string& path)
{
    return text::decodeWindows1252(readBytes(path));
}
