// Runs the built orvane-render binary as a user would and collects what it printed and returned.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

namespace OrvaneToolsTest {

struct ToolResult {
    int exitCode = -1; // -1 when the process did not exit normally
    int signal = 0;    // the signal that ended it, if one did
    bool timedOut = false;
    long peakKilobytes = 0; // the most memory the process held at once (its peak resident set)
    std::string out, err; // with RunOptions::terminal, both streams' bytes as the terminal received them in `out`
};

struct RunOptions {
    std::string workingFolder;     // "" runs in the test's own
    std::string standardOutput;    // a file to send standard output to, instead of capturing it
    bool closedStandardOutput = false; // standard output is a pipe whose reader is gone
    bool terminal = false;         // standard output and error are one terminal (a pseudo-terminal)
    bool terminalStopped = false;  // ... whose output is stopped (as by Ctrl+S): every write to it waits
    std::vector<int> ignoredSignals; // set to be ignored when the process starts, as nohup or a shell does
    int user = -1;                 // a user id (and the group of the same number) to run as; -1: the test's own
    bool hideProc = false;         // /proc is empty for the process, as in a sandbox without it
    long fileSizeLimit = 0;        // the largest file the process may write, in bytes (0: no limit)
    long addressSpaceLimit = 0;    // the most memory the process may map, in bytes (0: no limit)
    std::vector<std::pair<std::string, std::string>> environment; // set for the run
    int timeoutSeconds = 120;      // then the process is killed and the result says so
};

// A run in progress, for tests that act while it runs; finish() collects it.
class RunningTool {
public:
    RunningTool(const std::vector<std::string>& args, const RunOptions& options = {});
    ~RunningTool();
    RunningTool(const RunningTool&) = delete;
    RunningTool& operator=(const RunningTool&) = delete;

    pid_t pid() const { return child; }
    // True while the process has not ended (it is reaped on the first call that finds it ended).
    bool running();
    // Stops the process (SIGSTOP) and waits until it is stopped; false when it ended instead.
    bool pause();
    void resume();
    ToolResult finish();

private:
    void collectTerminal(int timeoutMs);
    RunOptions options;
    std::string captureFolder, outPath, errPath;
    pid_t child = -1;
    int terminalMaster = -1;
    std::string terminalBytes;
    bool ended = false;
    int status = 0;
    long peakKilobytes = 0;
};

// Why a run with these options cannot be made here, or "" when it can: becoming another user (and then
// reaching the renderer and its module) and hiding /proc (a mount namespace of its own) need root.
std::string whyCannotRun(const RunOptions& options);

// Runs ORVANE_RENDER_PATH with `args`, with ORVANE_MODULE removed from its environment (unless the options
// set it).
ToolResult runRender(const std::vector<std::string>& args, const RunOptions& options = {});

} // namespace OrvaneToolsTest
