#pragma once

// Where the bytes of a file that the program writes go: to the system's file, or, in tests, to a
// file that fails on purpose (a full disk at the k-th write), so that every write that can fail
// is seen failing.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace importer {

class FileSink
{
public:
    virtual ~FileSink() = default;

    // Writes the bytes, as one write of the system; false when they could not all be written.
    virtual bool write(std::string_view bytes) = 0;

    // Closes the file; false when what was written may not have reached it.
    virtual bool close() = 0;
};

// Creates the file at a path anew, replacing one of that name. Throws std::system_error when it
// cannot be created.
using FileSinkOpener = std::function<std::unique_ptr<FileSink>(const std::string& path)>;

// The system's file. It has no buffer of its own: its user gathers what it writes.
std::unique_ptr<FileSink> openFileSink(const std::string& path);

} // namespace importer
