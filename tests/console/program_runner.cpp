#include "program_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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

// The words of a '|'-separated list.
std::vector<std::string> splitWords(const std::string& list) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find('|', start);
        if (end == std::string::npos) {
            end = list.size();
        }
        if (end > start) {
            words.push_back(list.substr(start, end - start));
        }
        start = end + 1;
    }
    return words;
}

// What starts the program: the words of BILIJAR_TEST_LAUNCHER, a checker
// such as valgrind that a test preset names; then a cross build's emulator,
// which runs the tests themselves too; then the program.
std::vector<std::string> launchCommand(const std::string& program) {
    const char* launcher = std::getenv("BILIJAR_TEST_LAUNCHER");
    std::vector<std::string> command = splitWords(launcher != nullptr ? launcher : "");
    for (const std::string& word : splitWords(BILIJAR_EMULATOR)) {
        command.push_back(word);
    }
    command.push_back(program);
    return command;
}

}  // namespace

StartedProgram startProgram(const std::string& program, const ProgramSetup& setup) {
    StartedProgram started;
    started.inPath = tempFile(setup.input);
    started.outPath = tempFile("");
    started.errPath = tempFile("");
    // A pipe without a reader from the start, so that no write can slip
    // into it before the reader is gone.
    int pipeEnds[2] = {-1, -1};
    if (setup.output == OutputSink::brokenPipe && (pipe(pipeEnds) != 0 || close(pipeEnds[0]) != 0)) {
        std::perror("pipe");
        std::abort();
    }
    started.pid = fork();
    if (started.pid == 0) {
        const std::string& inPath = setup.inputPath.empty() ? started.inPath : setup.inputPath;
        const int in = open(inPath.c_str(), O_RDONLY);
        const int err = open(started.errPath.c_str(), O_WRONLY | O_TRUNC);
        int out = -1;  // stays -1 for a closed standard output
        switch (setup.output) {
            case OutputSink::captured:
                out = open(started.outPath.c_str(), O_WRONLY | O_TRUNC);
                break;
            case OutputSink::deviceFull:
                out = open("/dev/full", O_WRONLY);
                break;
            case OutputSink::brokenPipe:
                out = pipeEnds[1];
                break;
            case OutputSink::closed:
                break;
        }
        if (in < 0 || err < 0 || (out < 0 && setup.output != OutputSink::closed)) {
            _exit(127);
        }
        dup2(in, 0);
        if (out >= 0) {
            dup2(out, 1);
        } else {
            close(1);
        }
        if (setup.errorClosed) {
            close(2);
        } else {
            dup2(err, 2);
        }
        if (setup.output == OutputSink::brokenPipe) {
            signal(SIGPIPE, SIG_IGN);  // kept across exec
        }
        if (setup.outputLimit >= 0) {
            // A write past the limit fails with EFBIG instead of ending the
            // process with SIGXFSZ.
            const rlimit limit{static_cast<rlim_t>(setup.outputLimit),
                               static_cast<rlim_t>(setup.outputLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
            signal(SIGXFSZ, SIG_IGN);
        }
        if (setup.display.empty()) {
            unsetenv("DISPLAY");
        } else {
            setenv("DISPLAY", setup.display.c_str(), 1);
        }
        for (const std::string& variable : setup.environment) {
            putenv(const_cast<char*>(variable.c_str()));
        }
        std::vector<std::string> command = launchCommand(program);
        command.insert(command.end(), setup.arguments.begin(), setup.arguments.end());
        std::vector<char*> argv;
        for (std::string& word : command) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    if (pipeEnds[1] >= 0) {
        close(pipeEnds[1]);
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
