#pragma once

// The command-line front end: converts an export folder into a club database without the
// window, for scripted conversions of whole federation exports. It runs the same conversion
// as the window; every question that the window would ask is answered No.

#include "import/FileSink.h"

#include <atomic>
#include <ostream>
#include <string>
#include <vector>

namespace batch {

// Exit codes of tvx-vidazer-batch.
inline constexpr int kOk = 0;
inline constexpr int kBadInput = 2;         // bad arguments or inputs, nothing converted
inline constexpr int kNotWritable = 3;      // the club database or the log could not be created or written,
                                            // or the run told of an error that left it incomplete
inline constexpr int kInterrupted = 130;    // Ctrl-C: stopped like Abbruch, what was converted is kept

struct Environment
{
    std::string programFolder; // folder of the executable, where the default definitions files lie
    std::string dataFolder;    // the application-data folder of the settings file
    bool terminal = false;     // progress is updated in place on a terminal
    const std::atomic<bool>* interrupted = nullptr; // set by Ctrl-C
    importer::FileSinkOpener openLog = {};          // how the log is created; empty: the system's file
};

// Runs the command with its arguments (without the program name); writes what the user should
// read to out (results) and err (progress, messages), and returns the exit code.
int run(const std::vector<std::string>& args, const Environment& environment, std::ostream& out, std::ostream& err);

} // namespace batch
