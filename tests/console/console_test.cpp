// The whole program on the console: input on standard input, the complete
// standard output compared byte for byte. Expected traces are worked out by
// hand from the geometry of each table.
#include <gtest/gtest.h>

#include <string>

#include "program_checks.h"
#include "trace_text.h"

namespace {

// Every run here ends without a window: after a complete dialogue because
// there is no display, else because the input ended early.
ProgramResult run(const std::string& input) {
    ProgramResult result = runProgram(BILIJAR_PATH, input);
    expectNoCrash(result);
    EXPECT_EQ(result.exitStatus, 1);
    return result;
}

// A run's input and the part of its standard output that the table checks.
struct TraceCase {
    const char* rule;
    std::string input;
    std::string expected;
};

void PrintTo(const TraceCase& c, std::ostream* os) {
    *os << c.rule;
}

// expected is what follows the dialogue.
class WholeTrace : public testing::TestWithParam<TraceCase> {};

TEST_P(WholeTrace, PrintsExactlyTheDialogueAndTrace) {
    const TraceCase& c = GetParam();
    EXPECT_EQ(run(c.input).out, dialogue + c.expected) << c.rule;
}

// A ball on the diagonal of a 10 by 10 table shuttles between corners 2 and
// 4: corners land on exact points, so 98 bounces stay exact to the print.
std::string shuttleBetweenCorners(int bounces) {
    std::string trace =
        startNowhere + step("5.00,5.00/25.00,25.00", "0 1 1 0", "2,3", "0 1 1 0", "10.00,10.00");
    for (int k = 2; k <= bounces + 1; ++k) {
        trace += k % 2 == 0 ? step("10.00,10.00/-131.42,-131.42", "1 1 1 1", "4,1", "1 0 0 1", "0.00,0.00")
                            : step("0.00,0.00/141.42,141.42", "1 1 1 1", "2,3", "0 1 1 0", "10.00,10.00");
    }
    return trace;
}

INSTANTIATE_TEST_SUITE_P(
    Console, WholeTrace,
    testing::Values(
        TraceCase{"one bounce: the second probe starts on flagged wall 3, so wall 2 is taken", readmeInput,
                  readmeTrace},
        TraceCase{"no bounce: one step only", "10\n5\n2\n1\n1\n1\n0\n",
                  startNowhere + step("2.00,1.00/22.00,21.00", "0 0 1 0", "3", "0 0 1 0", "6.00,5.00")},
        TraceCase{"rejected start point: the run prints only the message", "10\n10\n-1\n5\n1\n1\n3\n",
                  rejected},
        TraceCase{"start just beyond the top side is rejected", "10\n5\n5\n5.0001\n1\n1\n0\n", rejected},
        TraceCase{"a NaN start point is rejected", "10\n5\nnan\n1\n1\n1\n0\n", rejected},
        TraceCase{"corner 2 is taken before its walls", "10\n5\n5\n2.5\n2\n1\n0\n",
                  startNowhere + step("5.00,2.50/45.00,22.50", "0 1 1 0", "2,3", "0 1 1 0", "10.00,5.00")},
        TraceCase{"corner 1 on the diagonal sends the ball straight back", "10\n6\n6\n4\n1\n-1\n1\n",
                  startNowhere + step("6.00,4.00/26.00,-16.00", "1 1 0 0", "1,2", "1 1 0 0", "10.00,0.00") +
                      step("10.00,0.00/-131.42,141.42", "1 1 1 0", "3", "0 0 1 0", "4.00,6.00")},
        TraceCase{"passing within the overhang of both walls takes the corner",
                  "10\n5\n5\n2.5\n1.0004\n-0.5\n0\n",
                  startNowhere + step("5.00,2.50/25.01,-7.50", "1 1 0 0", "1,2", "1 1 0 0", "10.00,0.00")},
        TraceCase{"beyond the overhang only the right wall is crossed", "10\n5\n5\n2.5\n1.004\n-0.5\n0\n",
                  startNowhere + step("5.00,2.50/25.08,-7.50", "0 1 0 0", "2", "0 1 0 0", "10.00,0.01")},
        TraceCase{"a short probe reaches nothing and the ball stays for good", "10\n5\n5\n2.5\n0.1\n0.1\n1\n",
                  startNowhere + passStep("5.00,2.50/7.00,4.50", "0 0 0 0") +
                      passStep("5.00,2.50/5.00,2.50", "0 2 0 2")},
        TraceCase{"a zero direction lies along both vertical walls", "10\n5\n5\n2.5\n0\n0\n0\n",
                  startNowhere + passStep("5.00,2.50/5.00,2.50", "0 2 0 2")},
        TraceCase{
            "start on corner 1: walls 1 and 2 barred", "10\n5\n10\n0\n-1\n1\n0\n",
            "1 1 0 0\n\n\n\n\n" + step("10.00,0.00/-10.00,20.00", "1 1 1 0", "3", "0 0 1 0", "5.00,5.00")},
        TraceCase{
            "start on corner 2", "10\n5\n10\n5\n-1\n-1\n0\n",
            "0 1 1 0\n\n\n\n\n" + step("10.00,5.00/-10.00,-15.00", "1 1 1 0", "1", "1 0 0 0", "5.00,0.00")},
        TraceCase{
            "start on corner 3", "10\n5\n0\n5\n1\n-1\n0\n",
            "0 0 1 1\n\n\n\n\n" + step("0.00,5.00/20.00,-15.00", "1 0 1 1", "1", "1 0 0 0", "5.00,0.00")},
        TraceCase{
            "start on corner 4", "10\n5\n0\n0\n1\n1\n0\n",
            "1 0 0 1\n\n\n\n\n" + step("0.00,0.00/20.00,20.00", "1 0 1 1", "3", "0 0 1 0", "5.00,5.00")},
        TraceCase{
            "start on the left wall; walls 2 and 4 share no corner", "10\n5\n0\n2\n1\n0\n0\n",
            "0 0 0 1\n\n\n\n\n" + step("0.00,2.00/20.00,2.00", "0 1 0 1", "2", "0 1 0 0", "10.00,2.00")},
        TraceCase{"start on the bottom wall; the lower-numbered clear wall wins", "10\n5\n5\n0\n0\n1\n0\n",
                  "1 0 0 0\n\n\n\n\n" + step("5.00,0.00/5.00,20.00", "1 0 1 0", "3", "0 0 1 0", "5.00,5.00")},
        TraceCase{"width 0: the corner row comes first", "0\n5\n0\n0\n0\n1\n0\n",
                  "1 1 0 0\n\n\n\n\n" + step("0.00,0.00/0.00,20.00", "1 2 1 2", "3", "0 0 1 0", "0.00,5.00")},
        TraceCase{"98 bounces fill the whole path", "10\n10\n5\n5\n1\n1\n98\n", shuttleBetweenCorners(98)}));

TEST(Console, WellFormedInputNeedsNoLineBreaks) {
    // Tokens may share a line, and the last needs no newline.
    EXPECT_EQ(run("10 5 2 1 1 1 1").out, run("10\n5\n2\n1\n1\n1\n1\n").out);
    EXPECT_EQ(run("10\r\n5\r\n2\r\n1\r\n1\r\n1\r\n1\r\n").out, run("10\n5\n2\n1\n1\n1\n1\n").out);
}

// expected is the dialogue. Rejected start point (20, 1) keeps the run's
// output to one line, so the cases show only how the dialogue handles the
// bad value.
class BadInput : public testing::TestWithParam<TraceCase> {};

TEST_P(BadInput, IsReportedAndAskedAgain) {
    const TraceCase& c = GetParam();
    EXPECT_EQ(run(c.input).out, c.expected + rejected) << c.rule;
}

const std::string countRange = "Broj odbijanja mora biti od 0 do 98!\n";

INSTANTIATE_TEST_SUITE_P(
    Console, BadInput,
    testing::Values(
        TraceCase{"letters for the width", "abc\n10\n5\n20\n1\n1\n1\n0\n", dialogueRefusing({0})},
        TraceCase{"a fraction for the height", "10\n2.5\n5\n20\n1\n1\n1\n0\n", dialogueRefusing({1})},
        TraceCase{"integers beyond 32 bits", "2147483648\n-2147483649\n10\n5\n20\n1\n1\n1\n0\n",
                  dialogueRefusing({0, 0})},
        TraceCase{"a typo in a coordinate", "10\n5\n2x\n20\n1\n1\n1\n0\n", dialogueRefusing({2})},
        TraceCase{"a float too large for a float", "10\n5\n20\n1\n1e40\n1\n1\n0\n", dialogueRefusing({4})},
        TraceCase{"letters for the bounce count", "10\n5\n20\n1\n1\n1\nabc\n0\n", dialogueRefusing({6})},
        TraceCase{"bounce counts of 99 and -1", "10\n5\n20\n1\n1\n1\n99\n-1\n0\n",
                  dialogueRefusing({6, 6}, countRange)}));

TEST(Console, InputEndingEarlyEndsWithoutRunOrWindow) {
    for (const std::string input : {"", "10\n5\n2\n", "abc\nxyz\n", "10\n5\n2\n1\n1\n1\n99\n"}) {
        SCOPED_TRACE(input);
        const ProgramResult result = run(input);
        expectEarlyEnd(result);
        EXPECT_EQ(result.out.find("Tacka"), std::string::npos);
        EXPECT_EQ(result.out.find("<<"), std::string::npos);
    }
}

}  // namespace
