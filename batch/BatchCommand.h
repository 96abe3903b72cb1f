#pragma once

// The command-line front end: converts an export folder into a club database without the
// window, for scripted conversions of whole federation exports.

#include <ostream>
#include <string>
#include <vector>

namespace batch {

// Exit codes of tvx-vidazer-batch.
inline constexpr int kOk = 0;
inline constexpr int kBadInput = 2;

// Runs the command with its arguments (without the program name); writes what the user
// should read to out and err, and returns the exit code.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace batch
