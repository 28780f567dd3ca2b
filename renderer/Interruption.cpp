#include "Interruption.h"

#include "ToolError.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#if defined(_WIN32)
#include <filesystem>
#include <windows.h>
#else
#include <pthread.h>
#include <unistd.h>
#endif

namespace OrvaneTools {

namespace {

struct StopState {
    std::mutex lock;
    std::vector<std::string> temporaryFiles;
    long framesPlanned = -1;
    long framesWritten = 0;
    int statusColumns = 0;
};

// Never destroyed: a stop may come while the process is already ending.
StopState& stopState() {
    static StopState* state = new StopState;
    return *state;
}

std::string stopReport(const char* cause, const StopState& state) {
    std::string report;
    if (state.statusColumns > 0) report = "\r" + std::string(static_cast<std::size_t>(state.statusColumns), ' ') + "\r";
    report += "orvane-render: stopped by " + std::string(cause);
    if (state.framesPlanned >= 0)
        report += "; " + std::to_string(state.framesWritten) + " of " + std::to_string(state.framesPlanned) +
                  (state.framesPlanned == 1 ? " frame" : " frames") + " written";
    const std::size_t removed = state.temporaryFiles.size();
    if (removed == 1) report += ", the frame being written removed";
    if (removed > 1) report += ", the " + std::to_string(removed) + " frames being written removed";
    return report + "\n";
}

// The stop's report in `report`, or a short one when memory has run out for the whole of it.
const char* reportText(const char* cause, const StopState& state, std::string& report) noexcept {
    try {
        report = stopReport(cause, state);
        return report.c_str();
    } catch (const std::exception&) {
        return "orvane-render: stopped\n";
    }
}

// Takes the state for the stop, unless a thread holds it for two seconds: a thread stuck while holding it (on
// a blocked stderr, say) must not keep the process alive. Polled with try_lock rather than a timed lock, whose
// acquisition ThreadSanitizer cannot see (it would report the stop's reads as races).
void takeStateOrGoOn(StopState& state) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!state.lock.try_lock() && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

#if defined(_WIN32)

[[noreturn]] void stop(int signalNumber, const char* cause) {
    StopState& state = stopState();
    takeStateOrGoOn(state);
    // The file was opened with FILE_SHARE_DELETE: it goes when the process's handle closes.
    try {
        for (const std::string& file : state.temporaryFiles)
            DeleteFileW(std::filesystem::u8path(file).wstring().c_str());
    } catch (const std::exception&) {
        // No memory for a wide name: the file stays, with a name of its own that no frame counts.
    }
    std::string report;
    const char* text = reportText(cause, state, report);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(kSignalExitBase + signalNumber));
    for (;;) Sleep(INFINITE);
}

BOOL WINAPI onConsoleEvent(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT: stop(SIGINT, "Ctrl+C");
    case CTRL_BREAK_EVENT: stop(SIGBREAK, "Ctrl+Break");
    default: stop(1, "closing the console"); // as SIGHUP
    }
}

#else

volatile std::sig_atomic_t stopExitCode = 0;

void endWithoutTheReport(int) { _exit(stopExitCode); }

// Standard error may be a terminal nobody reads, or one whose output is stopped (Ctrl+S), where a write
// waits for ever: whatever thread the alarm reaches ends the process with the stop's code a second later,
// whether or not the report got out.
void endSoonAnyway(int exitCode) {
    stopExitCode = exitCode;
    struct sigaction action {};
    action.sa_handler = endWithoutTheReport;
    sigemptyset(&action.sa_mask);
    sigaction(SIGALRM, &action, nullptr);
    sigset_t alarmOnly;
    sigemptyset(&alarmOnly);
    sigaddset(&alarmOnly, SIGALRM);
    pthread_sigmask(SIG_UNBLOCK, &alarmOnly, nullptr);
    alarm(1);
}

[[noreturn]] void stop(int signalNumber) {
    StopState& state = stopState();
    takeStateOrGoOn(state);
    for (const std::string& file : state.temporaryFiles) unlink(file.c_str());
    endSoonAnyway(kSignalExitBase + signalNumber);
    const char* cause = signalNumber == SIGINT ? "SIGINT" : signalNumber == SIGTERM ? "SIGTERM" : "SIGHUP";
    std::string report;
    const char* text = reportText(cause, state, report);
    const std::size_t size = std::strlen(text);
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = write(STDERR_FILENO, text + done, size - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    _exit(kSignalExitBase + signalNumber);
}

bool ignoredByTheCaller(int signalNumber) {
    struct sigaction current {};
    return sigaction(signalNumber, nullptr, &current) == 0 && !(current.sa_flags & SA_SIGINFO) &&
           current.sa_handler == SIG_IGN;
}

#endif

} // namespace

void takeOverSignals() {
    try {
        stopState(); // made now, not when a stop comes and memory may have run out
    } catch (const std::exception&) {
        return; // no memory even for that: the signals keep their usual effect
    }
#if defined(_WIN32)
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
#else
    // A closed pipe or a file size limit makes the write fail, and the failure is reported.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    // Blocked in this thread before any other starts, so in every thread; only the waiting thread takes
    // them. A signal the caller set to be ignored stays ignored (SIGHUP under nohup, SIGINT in a script's
    // background job): a blocked signal is kept for sigwait even when ignored, so it is not taken at all.
    sigset_t stops;
    sigemptyset(&stops);
    bool anyTaken = false;
    for (const int s : {SIGINT, SIGTERM, SIGHUP}) {
        if (ignoredByTheCaller(s)) continue;
        sigaddset(&stops, s);
        anyTaken = true;
    }
    if (!anyTaken) return;
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);
    try {
        std::thread([stops] {
            int signalNumber = 0;
            while (sigwait(&stops, &signalNumber) != 0) {
            }
            stop(signalNumber);
        }).detach();
    } catch (const std::exception&) {
        // No thread to spare, or no memory for one: the signals keep their usual effect rather than going
        // unanswered.
        pthread_sigmask(SIG_UNBLOCK, &stops, nullptr);
    }
#endif
}

HoldStops::HoldStops() { stopState().lock.lock(); }
HoldStops::~HoldStops() { stopState().lock.unlock(); }

void noteTemporaryFile(const std::string& path) { stopState().temporaryFiles.push_back(path); }
void forgetTemporaryFile(const std::string& path) {
    std::vector<std::string>& files = stopState().temporaryFiles;
    files.erase(std::remove(files.begin(), files.end(), path), files.end());
}
void noteFramesPlanned(long count) { stopState().framesPlanned = count; }
void noteFrameWritten() { ++stopState().framesWritten; }
void noteStatusLine(int columns) { stopState().statusColumns = columns; }

} // namespace OrvaneTools
