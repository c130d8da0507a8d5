#pragma once

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

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

// The middle value of the times (0 for none).
inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}
