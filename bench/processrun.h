#pragma once

// One run of a program as a child process, its output thrown away: its wall-clock time, its CPU
// (user and system) and its peak resident memory, from wait4.

#include <string>
#include <vector>

namespace bench {

struct ProcessRun {
    bool ok = false; // it ran and exited with 0
    double wallSeconds = 0;
    double cpuSeconds = 0;
    double peakMegabytes = 0;
};

ProcessRun runProcess(const std::vector<std::string>& args);

// The gaftool built beside this benchmark program (the application object must exist).
std::string gaftoolBesideThisProgram();

} // namespace bench
