#pragma once

#include <fstream>
#include <string>

// Peak resident memory of this process so far (VmHWM), in megabytes; 0 where /proc is missing.
inline double peakResidentMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0; // kB
    return 0;
}
