#pragma once

#include <gtest/gtest.h>

#include <string>

#include "program_runner.h"

// How a run of the program without a display may end. In the sanitizer
// build a report also ends the program, with a status of its own, and
// leaves its text on standard error.

// The program ended on its own, by exit: no signal, no hang, no report of
// either sanitizer.
inline void expectNoCrash(const ProgramResult& result) {
    EXPECT_FALSE(result.timedOut) << "the program did not end";
    EXPECT_NE(result.exitStatus, -1) << "the program did not exit by itself";
    EXPECT_EQ(result.err.find("Sanitizer"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("runtime error"), std::string::npos) << result.err;
}

// What GLUT says on standard error when there is no display for the
// window: freeglut on X11 cannot open the display; on Windows (Wine without
// an X server) it cannot create the window.
#ifdef _WIN32
constexpr const char* noDisplay = "Failed to create a window";
#else
constexpr const char* noDisplay = "failed to open display";
#endif

// A complete dialogue runs and goes on to the window, which without a
// display is GLUT's own exit with status 1.
inline void expectRunThenNoDisplay(const ProgramResult& result) {
    expectNoCrash(result);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find(noDisplay), std::string::npos) << result.err;
}

// Input ending before the dialogue is complete: our own message, status 1.
inline void expectEarlyEnd(const ProgramResult& result) {
    expectNoCrash(result);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "Unos je prekinut pre kraja dijaloga.\n");
}
