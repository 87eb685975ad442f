// The program runner on POSIX: the child is started with posix_spawn, which
// does the redirections itself, so that nothing runs between fork and exec;
// it is waited for and ended by its own process id only.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "program_runner.h"

extern char** environ;

namespace {

// A temporary file holding contents; empty when it cannot be made.
std::string tempFile(const std::string& contents) {
    char path[] = "/tmp/bilijar-test-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        return "";
    }
    close(fd);
    std::ofstream file(path, std::ios::binary);
    return (file << contents).flush() ? path : "";
}

// The words of a '|'-separated list.
std::vector<std::string> splitWords(const std::string& list) {
    std::vector<std::string> words;
    std::istringstream stream(list);
    for (std::string word; std::getline(stream, word, '|');) {
        if (!word.empty()) {
            words.push_back(word);
        }
    }
    return words;
}

// What starts the program: the words of BILIJAR_TEST_LAUNCHER, a checker
// such as valgrind that a test preset names; then a cross build's emulator,
// which runs the tests themselves too; then the program and its arguments.
std::vector<std::string> launchCommand(const std::string& program, const ProgramSetup& setup) {
    const char* launcher = std::getenv("BILIJAR_TEST_LAUNCHER");
    std::vector<std::string> command = splitWords(launcher != nullptr ? launcher : "");
    for (const std::string& word : splitWords(BILIJAR_EMULATOR)) {
        command.push_back(word);
    }
    command.push_back(program);
    command.insert(command.end(), setup.arguments.begin(), setup.arguments.end());
    return command;
}

// The null-terminated list of pointers to words that exec takes.
std::vector<char*> pointers(std::vector<std::string>& words) {
    std::vector<char*> list;
    for (std::string& word : words) {
        list.push_back(&word[0]);
    }
    list.push_back(nullptr);
    return list;
}

}  // namespace

StartedProgram startProgram(const std::string& program, const ProgramSetup& setup) {
    StartedProgram started;
    started.inPath = tempFile(setup.input);
    started.outPath = tempFile("");
    started.errPath = tempFile("");
    if (started.inPath.empty() || started.outPath.empty() || started.errPath.empty()) {
        failedToStart(started, program, std::string("no temporary file in /tmp: ") + std::strerror(errno));
        return started;
    }
    // A pipe without a reader from the start, so that no write can slip
    // into it before the reader is gone.
    int pipeEnds[2] = {-1, -1};
    if (setup.output == OutputSink::brokenPipe &&
        (pipe2(pipeEnds, O_CLOEXEC) != 0 || close(pipeEnds[0]) != 0)) {
        failedToStart(started, program, std::string("pipe: ") + std::strerror(errno));
        return started;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string& inPath = setup.inputPath.empty() ? started.inPath : setup.inputPath;
    posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
    switch (setup.output) {
        case OutputSink::captured:
            posix_spawn_file_actions_addopen(&actions, 1, started.outPath.c_str(), O_WRONLY | O_TRUNC, 0);
            break;
        case OutputSink::deviceFull:
            posix_spawn_file_actions_addopen(&actions, 1, "/dev/full", O_WRONLY, 0);
            break;
        case OutputSink::brokenPipe:
            posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
            break;
        case OutputSink::closed:
            posix_spawn_file_actions_addclose(&actions, 1);
            break;
    }
    if (setup.errorClosed) {
        posix_spawn_file_actions_addclose(&actions, 2);
    } else {
        posix_spawn_file_actions_addopen(&actions, 2, started.errPath.c_str(), O_WRONLY | O_TRUNC, 0);
    }

    // The child inherits ignored signals and resource limits from this
    // process. SIGPIPE and SIGXFSZ are ignored here, and SIGPIPE set back to
    // its default in a child that does not ask to ignore it: a broken pipe's
    // writes then fail with EPIPE, and writes past the output limit with
    // EFBIG instead of ending the process.
    signal(SIGPIPE, SIG_IGN);
    signal(SIGXFSZ, SIG_IGN);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    if (setup.output != OutputSink::brokenPipe) {
        sigaddset(&defaults, SIGPIPE);
    }
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    rlimit ownLimit{};
    getrlimit(RLIMIT_FSIZE, &ownLimit);
    rlimit childLimit = ownLimit;
    if (setup.outputLimit >= 0) {
        childLimit.rlim_cur = static_cast<rlim_t>(setup.outputLimit);
    }
    setrlimit(RLIMIT_FSIZE, &childLimit);

    std::vector<std::string> command = launchCommand(program, setup);
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        environment.emplace_back(*variable);
    }
    environment = childEnvironment(environment, setup);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, command[0].c_str(), &actions, &attributes, pointers(command).data(),
                                   pointers(environment).data());
    setrlimit(RLIMIT_FSIZE, &ownLimit);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (pipeEnds[1] >= 0) {
        close(pipeEnds[1]);
    }
    if (error != 0) {
        failedToStart(started, command[0], std::string("posix_spawn: ") + std::strerror(error));
    } else {
        started.pid = pid;
    }
    return started;
}

ProgramResult waitProgram(const StartedProgram& started, double timeoutSeconds) {
    if (started.pid <= 0) {
        return notStarted(started);
    }
    ProgramResult result;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    int status = 0;
    for (pid_t done = 0; done != started.pid;) {
        done = waitpid(started.pid, &status, WNOHANG);
        if (done < 0 && errno != EINTR) {
            result.exitStatus.otherwise = std::string("waitpid: ") + std::strerror(errno);
            return result;
        }
        if (done == 0 && std::chrono::steady_clock::now() > deadline) {
            return stillRunning(timeoutSeconds);
        }
        if (done == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    if (WIFEXITED(status)) {
        result.exitStatus.code = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.exitStatus.otherwise =
            "ended by signal " + std::to_string(WTERMSIG(status)) + " (" + strsignal(WTERMSIG(status)) + ")";
    }
    result.out = readFile(started.outPath);
    result.err = readFile(started.errPath);
    removeFiles(started);
    return result;
}

void killProgram(const StartedProgram& started) {
    if (started.pid > 0) {
        kill(started.pid, SIGKILL);
        int status = 0;
        while (waitpid(started.pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    removeFiles(started);
}
