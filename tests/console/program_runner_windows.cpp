// The program runner on Windows: the child is started with CreateProcess,
// its standard streams are handles of files (or a pipe), and it is waited
// for and ended through its process handle.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "program_runner.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "%s failed: error %lu\n", what, GetLastError());
    std::abort();
}

std::string tempFile(const std::string& contents) {
    char directory[MAX_PATH + 1] = {};
    char path[MAX_PATH + 1] = {};
    if (GetTempPathA(sizeof directory, directory) == 0 || GetTempFileNameA(directory, "bil", 0, path) == 0) {
        fail("GetTempFileName");
    }
    std::ofstream file(path, std::ios::binary);
    file << contents;
    if (!file.flush()) {
        fail("writing a temporary file");
    }
    return path;
}

void removeFiles(const StartedProgram& started) {
    DeleteFileA(started.inPath.c_str());
    DeleteFileA(started.outPath.c_str());
    DeleteFileA(started.errPath.c_str());
}

// A handle that the child inherits, on a file that others may still read,
// write and delete while it is open. FILE_FLAG_BACKUP_SEMANTICS lets it be
// a directory too, as a standard input that cannot be read.
HANDLE inheritedFile(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const HANDLE file =
        CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                    disposition, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        fail("CreateFile");
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

}  // namespace

StartedProgram startProgram(const std::string& program, const ProgramSetup& setup) {
    // A sink that only POSIX has would be a test that checks nothing here.
    if (setup.output == OutputSink::deviceFull || setup.outputLimit >= 0) {
        std::fputs("startProgram: no full device and no file size limit on Windows\n", stderr);
        std::abort();
    }
    StartedProgram started;
    started.inPath = tempFile(setup.input);
    started.outPath = tempFile("");
    started.errPath = tempFile("");
    const std::string& inPath = setup.inputPath.empty() ? started.inPath : setup.inputPath;
    const HANDLE in = inheritedFile(inPath, GENERIC_READ, OPEN_EXISTING);
    const HANDLE err = inheritedFile(started.errPath, GENERIC_WRITE, TRUNCATE_EXISTING);
    HANDLE out = nullptr;  // stays null for a closed standard output
    switch (setup.output) {
        case OutputSink::captured:
            out = inheritedFile(started.outPath, GENERIC_WRITE, TRUNCATE_EXISTING);
            break;
        case OutputSink::brokenPipe: {
            // A pipe without a reader from the start: every write fails.
            SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
            HANDLE reader = nullptr;
            if (!CreatePipe(&reader, &out, &inherit, 0)) {
                fail("CreatePipe");
            }
            CloseHandle(reader);
            break;
        }
        case OutputSink::closed:
        case OutputSink::deviceFull:
            break;
    }

    // The child inherits this process's environment, DISPLAY as the setup
    // asks.
    SetEnvironmentVariableA("DISPLAY", setup.display.empty() ? nullptr : setup.display.c_str());
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
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &info)) {
        fail("CreateProcess");
    }
    CloseHandle(info.hThread);
    CloseHandle(in);
    CloseHandle(err);
    if (out != nullptr) {
        CloseHandle(out);
    }
    started.pid = static_cast<pid_t>(info.dwProcessId);
    started.process = info.hProcess;
    return started;
}

ProgramResult waitProgram(const StartedProgram& started, double timeoutSeconds) {
    ProgramResult result;
    if (WaitForSingleObject(started.process, static_cast<DWORD>(timeoutSeconds * 1000.0)) != WAIT_OBJECT_0) {
        result.timedOut = true;
        return result;
    }
    DWORD status = 0;
    GetExitCodeProcess(started.process, &status);
    CloseHandle(started.process);
    // An unhandled exception (a crash) ends the process with its NTSTATUS
    // error code, 0xC0000000 and above.
    result.exitStatus = status >= 0xC0000000u ? -1 : static_cast<int>(status);
    result.out = readFile(started.outPath);
    result.err = readFile(started.errPath);
    removeFiles(started);
    return result;
}

void killProgram(const StartedProgram& started) {
    TerminateProcess(started.process, 255);
    WaitForSingleObject(started.process, INFINITE);
    CloseHandle(started.process);
    removeFiles(started);
}
