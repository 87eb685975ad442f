// What the runners of every platform share.
#include <fstream>
#include <sstream>

#include "program_runner.h"

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
