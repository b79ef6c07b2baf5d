#pragma once
// talvik-sim's command line.
#include <filesystem>
#include <string>
#include <vector>

#include "sim_faults.h"
#include "sim_line.h"

struct SimOptions {
    std::string project;        // empty: the demo network
    std::string device;         // attach here instead of making a pseudo-terminal
    int com = -1;               // preferred COM number; -1: the lowest free one
    int baud = 19200;
    uint32_t seed = 1;
    bool trace = false;
    std::filesystem::path filesDir;   // empty: a temporary folder, removed on exit
    std::filesystem::path portsDir;   // empty: the program's own ports folder
    int replyDelayMs = 0;
    int rebootSilenceS = 60;
    std::string dump;           // project file written on exit and on SIGUSR1
    FaultSettings faults;
    std::vector<int> mute;
    bool help = false;
};

// False with `error` set for an unknown option or a bad value.
bool ParseSimOptions(const std::vector<std::string> &args, SimOptions &out, std::string &error);
std::string SimUsage();
