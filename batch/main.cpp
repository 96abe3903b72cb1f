#include "batch/BatchCommand.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace {

std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int)
{
    interrupted = true;
}

std::string dataFolder()
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const std::string base = xdg && *xdg ? xdg : std::string(home ? home : ".") + "/.local/share";
    return base + "/TVX_Dadazuror";
}

} // namespace

int main(int argc, char** argv)
{
    std::signal(SIGINT, onInterrupt);
    std::error_code ec;
    batch::Environment environment;
    environment.programFolder = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path().string();
    environment.dataFolder = dataFolder();
    environment.terminal = isatty(STDERR_FILENO) == 1;
    environment.interrupted = &interrupted;
    return batch::run(std::vector<std::string>(argv + 1, argv + argc), environment, std::cout, std::cerr);
}
