// The program runner on Windows: the child is started with CreateProcess,
// its standard streams are handles of files (or a pipe), and it is waited
// for and ended through its process handle.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "program_runner.h"

namespace {

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

ProgramResult waitProgram(const StartedProgram& started, double timeoutSeconds) {
    if (started.process == nullptr) {
        return notStarted(started);
    }
    ProgramResult result;
    const DWORD waited = WaitForSingleObject(started.process, static_cast<DWORD>(timeoutSeconds * 1000.0));
    if (waited == WAIT_TIMEOUT) {
        return stillRunning(timeoutSeconds);
    }
    if (waited != WAIT_OBJECT_0) {
        result.exitStatus.otherwise = "WaitForSingleObject: " + errorText(GetLastError());
        return result;
    }
    DWORD status = 0;
    GetExitCodeProcess(started.process, &status);
    CloseHandle(started.process);
    // An unhandled exception (a crash) ends the process with its NTSTATUS
    // error code, 0xC0000000 and above.
    if (status >= 0xC0000000u) {
        char code[11];
        std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(status));
        result.exitStatus.otherwise = std::string("ended by exception ") + code;
    } else {
        result.exitStatus.code = static_cast<int>(status);
    }
    result.out = readFile(started.outPath);
    result.err = readFile(started.errPath);
    removeFiles(started);
    return result;
}

void killProgram(const StartedProgram& started) {
    if (started.process != nullptr) {
        TerminateProcess(started.process, 255);
        WaitForSingleObject(started.process, INFINITE);
        CloseHandle(started.process);
    }
    removeFiles(started);
}
