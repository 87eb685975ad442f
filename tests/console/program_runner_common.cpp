// What the runners of every platform share.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "program_runner.h"

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

ProgramResult notStarted(const StartedProgram& started) {
    ProgramResult result;
    result.exitStatus.otherwise = "not started: " + started.failure;
    removeFiles(started);
    return result;
}

StartedProgram startProgram(const std::string& program, const std::string& input,
                            const std::string& display) {
    ProgramSetup setup;
    setup.input = input;
    setup.display = display;
    return startProgram(program, setup);
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
