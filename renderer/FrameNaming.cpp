#include "FrameNaming.h"

#include "FileNames.h"
#include "ToolError.h"

namespace OrvaneTools {

namespace {
struct Run {
    std::size_t begin = std::string::npos;
    std::size_t length = 0;
};

Run findRun(const std::string& path) {
    Run run;
    for (std::size_t i = fileNameStart(path); i < path.size();) {
        if (path[i] != '#') {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < path.size() && path[end] == '#') ++end;
        if (run.begin != std::string::npos)
            throw usageError("-o " + path + ": the file name holds more than one run of '#' for the frame number");
        run = Run{i, end - i};
        i = end;
    }
    return run;
}
} // namespace

bool hasFrameNumberRun(const std::string& path) { return findRun(path).begin != std::string::npos; }

std::string framePath(const std::string& path, long frame) {
    const Run run = findRun(path);
    if (run.begin == std::string::npos) return path;
    std::string number = std::to_string(frame);
    if (number.size() < run.length) number.insert(0, run.length - number.size(), '0');
    return path.substr(0, run.begin) + number + path.substr(run.begin + run.length);
}

} // namespace OrvaneTools
