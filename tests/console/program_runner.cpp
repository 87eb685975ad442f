// The program runner. On POSIX the child is started with posix_spawn, which
// does the redirections itself, so that nothing runs between fork and exec;
// on Windows with CreateProcess, its standard streams handles of files (or
// a pipe). Either way it is waited for and ended through its own process id
// or handle only.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "program_runner.h"

namespace {

// Fails the running test, since program could not be started for reason,
// which started.failure keeps.
void failedToStart(StartedProgram& started, const std::string& program, const std::string& reason) {
    started.failure = reason;
    ADD_FAILURE() << "cannot start " << program << ": " << reason;
}

void removeFiles(const StartedProgram& started) {
    for (const std::string* path : {&started.inPath, &started.outPath, &started.errPath}) {
        if (!path->empty()) {
            std::remove(path->c_str());
        }
    }
}

// The child's environment: current, each variable that the setup sets
// (DISPLAY, none when empty, and the setup's own) replaced.
std::vector<std::string> childEnvironment(const std::vector<std::string>& current,
                                          const ProgramSetup& setup) {
    std::vector<std::string> own = setup.environment;
    own.insert(own.begin(), "DISPLAY=" + setup.display);
    std::vector<std::string> environment;
    for (const std::string& variable : current) {
        const std::string name = variable.substr(0, variable.find('=', 1) + 1);
        if (std::none_of(own.begin(), own.end(),
                         [&](const std::string& v) { return v.rfind(name, 0) == 0; })) {
            environment.push_back(variable);
        }
    }
    environment.insert(environment.end(), own.begin() + (setup.display.empty() ? 1 : 0), own.end());
    return environment;
}

#ifdef _WIN32

// The text of Windows' error code, with the code.
std::string errorText(DWORD code) {
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                   sizeof text, nullptr);
    std::string message = text;
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
        message.pop_back();
    }
    return "error " + std::to_string(code) + (message.empty() ? "" : " (" + message + ")");
}

// A temporary file holding contents; empty when it cannot be made.
std::string tempFile(const std::string& contents) {
    char directory[MAX_PATH + 1] = {};
    char path[MAX_PATH + 1] = {};
    if (GetTempPathA(sizeof directory, directory) == 0 || GetTempFileNameA(directory, "bil", 0, path) == 0) {
        return "";
    }
    std::ofstream file(path, std::ios::binary);
    return (file << contents).flush() ? path : "";
}

// A handle that the child inherits, on a file that others may still read,
// write and delete while it is open; null, with the reason in failure, when
// it cannot be opened. FILE_FLAG_BACKUP_SEMANTICS lets it be a directory
// too, as a standard input that cannot be read.
HANDLE inheritedFile(const std::string& path, DWORD access, DWORD disposition, std::string& failure) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const HANDLE file =
        CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                    disposition, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        failure = "CreateFile " + path + ": " + errorText(GetLastError());
        return nullptr;
    }
    return file;
}

// One argument as the C runtime splits a command line: in quotes, with the
// backslashes before a quote doubled and the quote escaped.
void appendArgument(std::string& commandLine, const std::string& argument) {
    if (!commandLine.empty()) {
        commandLine += ' ';
    }
    commandLine += '"';
    size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        commandLine.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        commandLine += c;
    }
    commandLine.append(2 * backslashes, '\\');
    commandLine += '"';
}

// The block of NAME=value strings that CreateProcess takes: this process's
// environment with the setup's variables.
std::string environmentBlock(const ProgramSetup& setup) {
    std::vector<std::string> current;
    char* const own = GetEnvironmentStringsA();
    for (const char* variable = own; *variable != '\0'; variable += current.back().size() + 1) {
        current.emplace_back(variable);
    }
    FreeEnvironmentStringsA(own);
    std::string block;
    for (const std::string& variable : childEnvironment(current, setup)) {
        block += variable + '\0';
    }
    return block + '\0';
}

// Waits at most timeoutSeconds for the child to end; false if it is still
// running. How it ended goes into status.
bool waitForExit(const StartedProgram& started, double timeoutSeconds, ExitStatus& status) {
    const DWORD waited = WaitForSingleObject(started.process, static_cast<DWORD>(timeoutSeconds * 1000.0));
    if (waited == WAIT_TIMEOUT) {
        return false;
    }
    if (waited != WAIT_OBJECT_0) {
        // No word of how it ends: the child is ended here, through its own
        // handle, rather than left running with nobody to wait for it.
        status.otherwise = "WaitForSingleObject: " + errorText(GetLastError());
        TerminateProcess(started.process, 255);
        CloseHandle(started.process);
        return true;
    }
    DWORD code = 0;
    GetExitCodeProcess(started.process, &code);
    CloseHandle(started.process);
    // An unhandled exception (a crash) ends the process with its NTSTATUS
    // error code, 0xC0000000 and above.
    if (code >= 0xC0000000u) {
        char text[11];
        std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code));
        status.otherwise = std::string("ended by exception ") + text;
    } else {
        status.code = static_cast<int>(code);
    }
    return true;
}

}  // namespace

StartedProgram startProgram(const std::string& program, const ProgramSetup& setup) {
    StartedProgram started;
    // A sink that only POSIX has would be a test that checks nothing here.
    if (setup.output == OutputSink::deviceFull || setup.outputLimit >= 0) {
        failedToStart(started, program, "no full device and no file size limit on Windows");
        return started;
    }
    started.inPath = tempFile(setup.input);
    started.outPath = tempFile("");
    started.errPath = tempFile("");
    if (started.inPath.empty() || started.outPath.empty() || started.errPath.empty()) {
        failedToStart(started, program, "no temporary file: " + errorText(GetLastError()));
        return started;
    }
    std::string failure;
    const std::string& inPath = setup.inputPath.empty() ? started.inPath : setup.inputPath;
    const HANDLE in = inheritedFile(inPath, GENERIC_READ, OPEN_EXISTING, failure);
    // Stays null for a closed standard error.
    const HANDLE err = setup.errorClosed
                           ? nullptr
                           : inheritedFile(started.errPath, GENERIC_WRITE, TRUNCATE_EXISTING, failure);
    HANDLE out = nullptr;  // stays null for a closed standard output
    switch (setup.output) {
        case OutputSink::captured:
            out = inheritedFile(started.outPath, GENERIC_WRITE, TRUNCATE_EXISTING, failure);
            break;
        case OutputSink::brokenPipe: {
            // A pipe without a reader from the start: every write fails.
            SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
            HANDLE reader = nullptr;
            if (CreatePipe(&reader, &out, &inherit, 0)) {
                CloseHandle(reader);
            } else {
                failure = "CreatePipe: " + errorText(GetLastError());
            }
            break;
        }
        case OutputSink::closed:
        case OutputSink::deviceFull:
            break;
    }

    PROCESS_INFORMATION info{};
    if (failure.empty()) {
        std::string commandLine;
        appendArgument(commandLine, program);
        for (const std::string& argument : setup.arguments) {
            appendArgument(commandLine, argument);
        }
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = in;
        startup.hStdOutput = out;
        startup.hStdError = err;
        std::string environment = environmentBlock(setup);
        if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, &environment[0],
                            nullptr, &startup, &info)) {
            failure = "CreateProcess: " + errorText(GetLastError());
        }
    }
    for (const HANDLE handle : {in, err, out}) {
        if (handle != nullptr) {
            CloseHandle(handle);
        }
    }
    if (!failure.empty()) {
        failedToStart(started, program, failure);
        return started;
    }
    CloseHandle(info.hThread);
    started.pid = static_cast<pid_t>(info.dwProcessId);
    started.process = info.hProcess;
    return started;
}

void killProgram(const StartedProgram& started) {
    if (started.process != nullptr) {
        TerminateProcess(started.process, 255);
        WaitForSingleObject(started.process, INFINITE);
        CloseHandle(started.process);
    }
    removeFiles(started);
}

#else

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

// Waits at most timeoutSeconds for the child to end; false if it is still
// running. How it ended goes into status.
bool waitForExit(const StartedProgram& started, double timeoutSeconds, ExitStatus& status) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    int waitStatus = 0;
    for (pid_t done = 0; done != started.pid;) {
        done = waitpid(started.pid, &waitStatus, WNOHANG);
        if (done < 0 && errno != EINTR) {
            status.otherwise = std::string("waitpid: ") + std::strerror(errno);
            return true;
        }
        if (done == 0 && std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        if (done == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    if (WIFEXITED(waitStatus)) {
        status.code = WEXITSTATUS(waitStatus);
    } else if (WIFSIGNALED(waitStatus)) {
        const int signal = WTERMSIG(waitStatus);
        const char* name = sigabbrev_np(signal);
        status.otherwise = "ended by signal " + std::to_string(signal) + " (" +
                           (name != nullptr ? "SIG" + std::string(name) + ": " : "") + strsignal(signal) +
                           ")";
    }
    return true;
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

void killProgram(const StartedProgram& started) {
    if (started.pid > 0) {
        kill(started.pid, SIGKILL);
        int status = 0;
        while (waitpid(started.pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    removeFiles(started);
}

#endif

std::ostream& operator<<(std::ostream& os, const ExitStatus& status) {
    if (status.code != -1) {
        return os << "exit status " << status.code;
    }
    return os << (status.otherwise.empty() ? "no exit status" : status.otherwise);
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

StartedProgram startProgram(const std::string& program, const std::string& input,
                            const std::string& display) {
    ProgramSetup setup;
    setup.input = input;
    setup.display = display;
    return startProgram(program, setup);
}

ProgramResult waitProgram(const StartedProgram& started, double timeoutSeconds) {
    ProgramResult result;
    if (started.pid <= 0) {
        result.exitStatus.otherwise = "not started: " + started.failure;
    } else if (!waitForExit(started, timeoutSeconds, result.exitStatus)) {
        result.timedOut = true;
        std::ostringstream reason;
        reason << "still running after " << timeoutSeconds << " s";
        result.exitStatus.otherwise = reason.str();
        return result;
    } else {
        result.out = readFile(started.outPath);
        result.err = readFile(started.errPath);
    }
    removeFiles(started);
    return result;
}

ProgramResult runProgram(const std::string& program, const ProgramSetup& setup, double timeoutSeconds) {
    const StartedProgram started = startProgram(program, setup);
    ProgramResult result = waitProgram(started, timeoutSeconds);
    if (result.timedOut) {
        killProgram(started);
    }
    return result;
}

ProgramResult runProgram(const std::string& program, const std::string& input, double timeoutSeconds) {
    ProgramSetup setup;
    setup.input = input;
    return runProgram(program, setup, timeoutSeconds);
}
