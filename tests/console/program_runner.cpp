#include "program_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

void removeFiles(const StartedProgram& started) {
    unlink(started.inPath.c_str());
    unlink(started.outPath.c_str());
    unlink(started.errPath.c_str());
}

std::string tempFile(const std::string& contents) {
    char path[] = "/tmp/bilijar-test-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        std::perror("mkstemp");
        std::abort();
    }
    size_t written = 0;
    while (written < contents.size()) {
        const ssize_t n = write(fd, contents.data() + written, contents.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            std::perror("write");
            std::abort();
        }
        written += static_cast<size_t>(n);
    }
    close(fd);
    return path;
}

}  // namespace

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

StartedProgram startProgram(const std::string& program, const std::string& input,
                            const std::string& display) {
    StartedProgram started;
    started.inPath = tempFile(input);
    started.outPath = tempFile("");
    started.errPath = tempFile("");
    started.pid = fork();
    if (started.pid == 0) {
        const int in = open(started.inPath.c_str(), O_RDONLY);
        const int out = open(started.outPath.c_str(), O_WRONLY | O_TRUNC);
        const int err = open(started.errPath.c_str(), O_WRONLY | O_TRUNC);
        if (in < 0 || out < 0 || err < 0) {
            _exit(127);
        }
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        if (display.empty()) {
            unsetenv("DISPLAY");
        } else {
            setenv("DISPLAY", display.c_str(), 1);
        }
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return started;
}

ProgramResult waitProgram(const StartedProgram& started, double timeoutSeconds) {
    ProgramResult result;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(started.pid, &status, WNOHANG);
        if (done == started.pid) {
            break;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            result.timedOut = true;
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readFile(started.outPath);
    result.err = readFile(started.errPath);
    removeFiles(started);
    return result;
}

void killProgram(const StartedProgram& started) {
    kill(started.pid, SIGKILL);
    int status = 0;
    waitpid(started.pid, &status, 0);
    removeFiles(started);
}

ProgramResult runProgram(const std::string& program, const std::string& input, double timeoutSeconds) {
    const StartedProgram started = startProgram(program, input, "");
    ProgramResult result = waitProgram(started, timeoutSeconds);
    if (result.timedOut) {
        killProgram(started);
    }
    return result;
}
