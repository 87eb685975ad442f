#pragma once

#include <sys/types.h>
#include <ostream>
#include <string>
#include <vector>

// Runs the program under test as a child process. A program that cannot be
// started fails the running test with the reason; the runner signals no
// process but the one it started.

// How the program ended: its exit status, or why it has none. Compares
// with an exit status and prints the reason, so that a test's
// EXPECT_EQ(result.exitStatus, 0) says what happened instead.
struct ExitStatus {
    int code = -1;          // the exit status; -1 when the program did not exit
    std::string otherwise;  // when code is -1: a signal, an exception, or why it was not started
};
inline bool operator==(const ExitStatus& status, int code) {
    return status.code == code;
}
inline bool operator!=(const ExitStatus& status, int code) {
    return status.code != code;
}
std::ostream& operator<<(std::ostream& os, const ExitStatus& status);

struct ProgramResult {
    std::string out;  // everything written to standard output
    std::string err;  // everything written to standard error
    ExitStatus exitStatus;
    bool timedOut = false;
};

// Where the child's standard output goes.
enum class OutputSink {
    captured,    // a file that the result reads back
    deviceFull,  // /dev/full: every write fails for lack of space
    closed,      // no standard output at all
    brokenPipe,  // a pipe whose reader has gone, with SIGPIPE ignored
};

// How the child is started.
struct ProgramSetup {
    std::string input;      // standard input's contents
    std::string inputPath;  // when set, standard input reads this path instead
    OutputSink output = OutputSink::captured;
    long outputLimit = -1;                 // when not negative, the captured file takes no more bytes
    bool errorClosed = false;              // no standard error at all (result.err stays empty)
    std::string display;                   // DISPLAY; none when empty
    std::vector<std::string> environment;  // NAME=value, added to the environment
    std::vector<std::string> arguments;    // the command line after the program's name
};

// Runs program with input on standard input and without DISPLAY, so it runs
// as on a machine without a desktop; waits at most timeoutSeconds.
ProgramResult runProgram(const std::string& program, const std::string& input, double timeoutSeconds = 20.0);
ProgramResult runProgram(const std::string& program, const ProgramSetup& setup, double timeoutSeconds = 20.0);

// A started child whose standard output and error go to files; pid is 0
// and failure says why when it could not be started.
struct StartedProgram {
    pid_t pid = 0;
#ifdef _WIN32
    void* process = nullptr;  // the child's process handle
#endif
    std::string failure;
    std::string inPath;
    std::string outPath;
    std::string errPath;
};

// Starts program with input on standard input and the given DISPLAY (none
// when display is empty); does not wait.
StartedProgram startProgram(const std::string& program, const std::string& input, const std::string& display);
StartedProgram startProgram(const std::string& program, const ProgramSetup& setup);

// Waits at most timeoutSeconds for the child to end and collects its output.
// On a time-out the child is still running; result.timedOut tells.
ProgramResult waitProgram(const StartedProgram& started, double timeoutSeconds);

// Ends a child left running by a failed test (never the way a test ends a
// program under test on success).
void killProgram(const StartedProgram& started);

// The contents of the file at path; empty if it cannot be read.
std::string readFile(const std::string& path);
