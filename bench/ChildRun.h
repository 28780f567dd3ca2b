// Runs a program as a user would and measures it: its wall time, and the processor time of the process,
// its threads and its children, and the most memory it held.
#pragma once

#include <string>
#include <vector>

namespace OrvaneBench {

struct ChildCost {
    double wallSeconds = 0;
    double cpuSeconds = 0;  // user and system, the process's threads and its children's
    long peakKilobytes = 0; // its largest resident set
};

// Runs `argv` (argv[0] looked up on PATH), its standard output and error discarded. Throws
// std::runtime_error naming the command when it cannot start or does not end with exit code 0.
ChildCost runChild(const std::vector<std::string>& argv);

// Whether `name` is a program on PATH.
bool programFound(const std::string& name);

} // namespace OrvaneBench
