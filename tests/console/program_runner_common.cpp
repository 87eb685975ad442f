// What the runners of every platform share.
#include <gtest/gtest.h>

#include <algorithm>
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

ProgramResult stillRunning(double seconds) {
    ProgramResult result;
    result.timedOut = true;
    std::ostringstream reason;
    reason << "still running after " << seconds << " s";
    result.exitStatus.otherwise = reason.str();
    return result;
}

ProgramResult notStarted(const StartedProgram& started) {
    ProgramResult result;
    result.exitStatus.otherwise = "not started: " + started.failure;
    removeFiles(started);
    return result;
}

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
