// The whole program when its standard streams let it down: output that
// cannot be written, input that cannot be read or ends early, and input that
// an editor opened with a byte-order mark. A failure is named on standard
// error and ends the program with status 1 before any window; a run that
// reaches the window shows GLUT's message here, since there is no display.
#include <gtest/gtest.h>

#include <string>

#include "program_checks.h"
#include "trace_text.h"

namespace {

const std::string earlyEnd = "Unos je prekinut pre kraja dijaloga.\n";

// The C library's texts for a write to a pipe without a reader and a read
// of a directory. Windows' C runtime has no errno for either Windows error
// and reports both as EINVAL.
#ifdef _WIN32
const std::string brokenPipeText = "Invalid argument";
const std::string directoryText = "Invalid argument";
#else
const std::string brokenPipeText = "Broken pipe";
const std::string directoryText = "Is a directory";
#endif

struct StreamCase {
    const char* rule;
    ProgramSetup setup;
    std::string out;     // the whole standard output, when it is captured
    std::string err;     // what standard error must hold
    bool reachesWindow;  // whether the run gets as far as opening the window
};

void PrintTo(const StreamCase& c, std::ostream* os) {
    *os << c.rule;
}

ProgramSetup input(const std::string& text, OutputSink output = OutputSink::captured) {
    ProgramSetup setup;
    setup.input = text;
    setup.output = output;
    return setup;
}

// Standard output that takes the dialogue and fails on the trace.
ProgramSetup roomForTheDialogueOnly() {
    ProgramSetup setup = input(readmeInput);
    setup.outputLimit = static_cast<long>(dialogue.size());
    return setup;
}

ProgramSetup inputFrom(const std::string& path) {
    ProgramSetup setup;
    setup.inputPath = path;
    return setup;
}

class Streams : public testing::TestWithParam<StreamCase> {};

TEST_P(Streams, FailuresAreNamedAndEndTheProgramBeforeTheWindow) {
    const StreamCase& c = GetParam();
#ifdef _WIN32
    if (c.setup.output == OutputSink::deviceFull || c.setup.outputLimit >= 0) {
        GTEST_SKIP() << "Windows has no device that is always full and no limit on a file's size";
    }
#endif
    const ProgramResult result = runProgram(BILIJAR_PATH, c.setup);
    expectNoCrash(result);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, c.out);
    if (c.reachesWindow) {
        EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
    } else {
        EXPECT_EQ(result.err, c.err);
    }
    EXPECT_EQ(result.err.find(noDisplay) != std::string::npos, c.reachesWindow) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Console, Streams,
    testing::Values(
        StreamCase{"a full disk", input(readmeInput, OutputSink::deviceFull), "",
                   "Ispis nije uspeo: No space left on device\n", false},
        StreamCase{"a file that fills up after the dialogue loses the trace", roomForTheDialogueOnly(),
                   dialogue, "Ispis nije uspeo: File too large\n", false},
        StreamCase{"a closed standard output", input(readmeInput, OutputSink::closed), "",
                   "Ispis nije uspeo: Bad file descriptor\n", false},
        StreamCase{"a pipe whose reader has gone while SIGPIPE is ignored",
                   input(readmeInput, OutputSink::brokenPipe), "",
                   "Ispis nije uspeo: " + brokenPipeText + "\n", false},
        StreamCase{"standard input is a directory", inputFrom("/"), "Unesite dimenzije pravougaonika:\na=\n",
                   "Citanje ulaza nije uspelo: " + directoryText + "\n", false},
        StreamCase{"input ending at an open prompt ends its line first", input("10\n5\n2\n"),
                   "Unesite dimenzije pravougaonika:\na=b=Unesite pocetnu tacku:\nx=y=\n", earlyEnd, false},
        StreamCase{"input ending at the count's prompt, whose line is ended", input("10\n5\n2\n1\n1\n1\n"),
                   dialogue, earlyEnd, false},
        StreamCase{"a byte-order mark before the first value is skipped", input("\xEF\xBB\xBF" + readmeInput),
                   readmeOutput, noDisplay, true},
        StreamCase{"a byte-order mark alone on the first line is skipped",
                   input("\xEF\xBB\xBF\r\n" + readmeInput), readmeOutput, noDisplay, true},
        StreamCase{"a byte-order mark after a space is part of a token",
                   input(" \xEF\xBB\xBF"
                         "10\n10\n5\n20\n1\n1\n1\n0\n"),
                   dialogueRefusing({0}) + rejected, noDisplay, true}));

}  // namespace
