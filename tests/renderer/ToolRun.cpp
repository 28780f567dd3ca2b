#include "ToolRun.h"

#include "ImageFiles.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace OrvaneToolsTest {

namespace {

std::string makeCaptureFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-run-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a capture folder");
    return pattern;
}

// In a child: the process's own view of the mounts, with an empty file system on /proc.
bool hideProc() {
    return unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           mount("none", "/proc", "tmpfs", 0, nullptr) == 0;
}

// In a child: the user id and group of the same number, and no other groups.
bool becomeUser(int user) {
    const auto id = static_cast<uid_t>(user);
    return setgroups(0, nullptr) == 0 && setresgid(id, id, id) == 0 && setresuid(id, id, id) == 0;
}

// In the child, between fork and exec: only system calls.
[[noreturn]] void startChild(const std::vector<char*>& argv, const RunOptions& options, const std::string& outPath,
                             const std::string& errPath, int pipeReadEnd, int pipeWriteEnd, int terminalSlave) {
    int out = -1, err = -1;
    if (terminalSlave >= 0) {
        setsid();
        ioctl(terminalSlave, TIOCSCTTY, 0);
        out = err = terminalSlave;
    } else {
        err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (options.closedStandardOutput) {
            close(pipeReadEnd);
            out = pipeWriteEnd;
        } else {
            const std::string& target = options.standardOutput.empty() ? outPath : options.standardOutput;
            out = open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        }
    }
    const int in = open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || in < 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    for (const auto& [resource, bytes] : {std::pair{RLIMIT_FSIZE, options.fileSizeLimit},
                                          std::pair{RLIMIT_AS, options.addressSpaceLimit}}) {
        if (bytes <= 0) continue;
        const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
        setrlimit(resource, &limit);
    }
    if (options.hideProc && !hideProc()) _exit(127);
    if (!options.workingFolder.empty() && chdir(options.workingFolder.c_str()) != 0) _exit(127);
    unsetenv("ORVANE_MODULE");
    for (const auto& [name, value] : options.environment) setenv(name.c_str(), value.c_str(), 1);
    // The test runner's own signal mask and dispositions are not the user's.
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGXFSZ}) signal(s, SIG_DFL);
    for (const int s : options.ignoredSignals) signal(s, SIG_IGN);
    if (options.user >= 0 && !becomeUser(options.user)) _exit(127);
    execv(argv[0], argv.data());
    _exit(127);
}

} // namespace

RunningTool::RunningTool(const std::vector<std::string>& args, const RunOptions& runOptions)
    : options(runOptions), captureFolder(makeCaptureFolder()) {
    outPath = captureFolder + "/stdout";
    errPath = captureFolder + "/stderr";
    std::vector<std::string> argvText = {ORVANE_RENDER_PATH};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argvText) argv.push_back(a.data());
    argv.push_back(nullptr);

    int pipeEnds[2] = {-1, -1};
    if (options.closedStandardOutput && pipe(pipeEnds) != 0) throw std::runtime_error("pipe failed");
    int terminalSlave = -1;
    if (options.terminal && openpty(&terminalMaster, &terminalSlave, nullptr, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    if (options.terminalStopped && (terminalSlave < 0 || tcflow(terminalSlave, TCOOFF) != 0))
        throw std::runtime_error("cannot stop the terminal's output");

    child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) startChild(argv, options, outPath, errPath, pipeEnds[0], pipeEnds[1], terminalSlave);
    if (terminalSlave >= 0) close(terminalSlave);
    // Nobody reads the pipe: the first write to it fails.
    if (pipeEnds[0] >= 0) close(pipeEnds[0]);
    if (pipeEnds[1] >= 0) close(pipeEnds[1]);
}

RunningTool::~RunningTool() {
    if (!ended && child > 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    if (terminalMaster >= 0) close(terminalMaster);
    std::error_code ignored;
    std::filesystem::remove_all(captureFolder, ignored);
}

void RunningTool::collectTerminal(int timeoutMs) {
    if (terminalMaster < 0) return;
    pollfd watch{terminalMaster, POLLIN, 0};
    while (poll(&watch, 1, timeoutMs) > 0) {
        char bytes[4096];
        const ssize_t n = read(terminalMaster, bytes, sizeof(bytes));
        if (n <= 0) break;
        terminalBytes.append(bytes, static_cast<std::size_t>(n));
        timeoutMs = 0;
    }
}

bool RunningTool::running() {
    if (ended) return false;
    collectTerminal(0);
    rusage usage{};
    const pid_t done = wait4(child, &status, WNOHANG, &usage);
    ended = done == child;
    if (ended) peakKilobytes = usage.ru_maxrss;
    return !ended;
}

bool RunningTool::pause() {
    if (ended) return false;
    kill(child, SIGSTOP);
    while (true) {
        collectTerminal(0);
        if (waitpid(child, &status, WUNTRACED) < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (WIFSTOPPED(status)) return true;
        ended = true;
        return false;
    }
}

void RunningTool::resume() { kill(child, SIGCONT); }

ToolResult RunningTool::finish() {
    ToolResult result;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options.timeoutSeconds);
    while (running()) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            ended = true;
            result.timedOut = true;
            break;
        }
        if (terminalMaster >= 0)
            collectTerminal(5);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    collectTerminal(0);
    result.exitCode = !result.timedOut && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    result.peakKilobytes = peakKilobytes;
    if (options.terminal) {
        result.out = terminalBytes;
    } else {
        if (options.standardOutput.empty() && !options.closedStandardOutput) result.out = fileBytes(outPath);
        result.err = fileBytes(errPath);
    }
    return result;
}

std::string whyCannotRun(const RunOptions& options) {
#if defined(__SANITIZE_ADDRESS__)
    if (options.hideProc) return "AddressSanitizer finds the process's stacks in /proc, which the run would hide";
#endif
    if ((options.user >= 0 || options.hideProc) && geteuid() != 0)
        return "becoming another user and hiding /proc need root; the tests run as user " + std::to_string(geteuid());
    const pid_t child = fork();
    if (child < 0) return "fork failed";
    if (child == 0) {
        if (options.hideProc && !hideProc()) _exit(2);
        if (options.user >= 0 && !becomeUser(options.user)) _exit(3);
        _exit(access(ORVANE_RENDER_PATH, X_OK) != 0 || access(ORVANE_MODULE_PATH, R_OK) != 0 ? 4 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    switch (WIFEXITED(status) ? WEXITSTATUS(status) : -1) {
    case 0: return std::string();
    case 2: return "cannot mount an empty /proc in a mount namespace of its own";
    case 3: return "cannot become user " + std::to_string(options.user);
    default: return "the renderer or its module cannot be reached (" ORVANE_RENDER_PATH ")";
    }
}

ToolResult runRender(const std::vector<std::string>& args, const RunOptions& options) {
    return RunningTool(args, options).finish();
}

} // namespace OrvaneToolsTest
