#include "ToolRun.h"

#include "ImageFiles.h"
#include "ScratchFolder.h"

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace OrvaneToolsTest {

ToolResult runRender(const std::vector<std::string>& args) {
    ScratchFolder capture;
    const std::string outPath = capture.path("stdout");
    const std::string errPath = capture.path("stderr");
    std::vector<std::string> argv = {ORVANE_RENDER_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (auto& a : argv) pointers.push_back(a.data());
    pointers.push_back(nullptr);

    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int in = open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || in < 0) _exit(127);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        unsetenv("ORVANE_MODULE");
        execv(pointers[0], pointers.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    ToolResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = fileBytes(outPath);
    result.err = fileBytes(errPath);
    return result;
}

} // namespace OrvaneToolsTest
