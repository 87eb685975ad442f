// Hostile input to the whole program. Whatever arrives on standard input, the
// program either reports a bad value and asks for it again, runs cleanly
// once the dialogue is complete, or says that the input ended early; it never
// crashes, hangs or draws a sanitizer report. Expected traces are worked out
// by hand.
#include <gtest/gtest.h>

#include <string>

#include "program_checks.h"
#include "trace_text.h"

namespace {

struct HostileCase {
    const char* rule;
    std::string input;
    std::string expected;  // the whole standard output
};

void PrintTo(const HostileCase& c, std::ostream* os) {
    *os << c.rule;
}

class CompleteDialogue : public testing::TestWithParam<HostileCase> {};

TEST_P(CompleteDialogue, RunsCleanlyWithTheExpectedOutput) {
    const HostileCase& c = GetParam();
    const ProgramResult result = runProgram(BILIJAR_PATH, c.input);
    EXPECT_EQ(result.out, c.expected) << c.rule;
    expectRunThenNoDisplay(result);
}

// A start point of (20, 1) is outside every table below, so where the dialogue
// is what matters the run adds only one line.
const std::string megabyteOfDigits(1 << 20, '7');

INSTANTIATE_TEST_SUITE_P(
    HostileInput, CompleteDialogue,
    testing::Values(
        HostileCase{"a negative width holds no start point", "-5\n5\n0\n0\n1\n1\n0\n", dialogue + rejected},
        // Every wall is 0.02 long and meets the others at the start point; the
        // walls 1 and 2 it starts on are barred, so corner 3 is taken. There
        // the direction turns to zero and the ball stays.
        HostileCase{"a 0 by 0 table", "0\n0\n0\n0\n1\n1\n1\n",
                    dialogue + "1 1 0 0\n\n\n\n\n" +
                        step("0.00,0.00/20.00,20.00", "1 1 1 1", "3,4", "0 0 1 1", "0.00,0.00") +
                        passStep("0.00,0.00/0.00,0.00", "0 2 0 2")},
        // The sides are 2^31 as floats; the probe from (2^30, 2^30) runs
        // 1.25 * 2^30 to the right and crosses wall 2 at t = 0.8, 2^31 + 16
        // before rounding to float.
        HostileCase{"a 2147483647 by 2147483647 table",
                    "2147483647\n2147483647\n1073741824\n1073741824\n67108864\n0\n0\n",
                    dialogue + startNowhere +
                        step("1073741824.00,1073741824.00/2415919104.00,1073741824.00", "0 1 0 0", "2",
                             "0 1 0 0", "2147483648.00,1073741824.00")},
        HostileCase{"nan as the start point's y", "10\n5\n2\nnan\n1\n1\n0\n", dialogue + rejected},
        HostileCase{"inf as the start point's x", "10\n5\ninf\n1\n1\n1\n0\n", dialogue + rejected},
        HostileCase{"-inf as the start point's y", "10\n5\n2\n-inf\n1\n1\n0\n", dialogue + rejected},
        // A NaN probe end crosses nothing; the mirror of the start about
        // itself gives a zero direction, and the ball stays.
        HostileCase{"nan as a direction component", "10\n5\n2\n1\n1\nnan\n1\n",
                    dialogue + startNowhere + passStep("2.00,1.00/22.00,nan", "0 0 0 0") +
                        passStep("2.00,1.00/2.00,1.00", "0 2 0 2")},
        HostileCase{"1e40 as the start point's x is asked again", "10\n5\n1e40\n20\n1\n1\n1\n0\n",
                    dialogueRefusing({2}) + rejected},
        HostileCase{"-1e40 as the direction's y is asked again", "10\n5\n20\n1\n1\n-1e40\n1\n0\n",
                    dialogueRefusing({5}) + rejected},
        HostileCase{"a 1 MB line of digits for the width", megabyteOfDigits + "\n10\n5\n20\n1\n1\n1\n0\n",
                    dialogueRefusing({0}) + rejected},
        // Vertical tab and form feed separate tokens like spaces; other
        // control bytes and bytes above 127 make a token invalid.
        HostileCase{"binary bytes",
                    std::string("\x00\x01\xff\xfe\x80", 5) + "\x0b"
                                                             "10\x0c"
                                                             "5\t20\v1 1 1 \x7f\x1b\n0\n",
                    dialogueRefusing({0, 6}) + rejected}));

// An infinite direction gives a probe with an infinite end; what the step
// makes of it is of no interest, only that the run completes.
TEST(HostileInput, InfiniteDirectionRunsCleanly) {
    for (const std::string input : {"10\n5\n2\n1\ninf\n1\n3\n", "10\n5\n2\n1\n1\n-inf\n3\n"}) {
        SCOPED_TRACE(input);
        const ProgramResult result = runProgram(BILIJAR_PATH, input);
        EXPECT_EQ(result.out.rfind(dialogue + startNowhere + "\n\n<<2.00,1.00/", 0), 0u) << result.out;
        expectRunThenNoDisplay(result);
    }
}

TEST(HostileInput, ALongLastTokenWithoutNewlineEndsTheDialogueEarly) {
    const ProgramResult result = runProgram(BILIJAR_PATH, "10\n5\n" + megabyteOfDigits);
    EXPECT_EQ(result.out,
              "Unesite dimenzije pravougaonika:\na=b=Unesite pocetnu tacku:\nx=" + invalid + "x=\n");
    expectEarlyEnd(result);
}

}  // namespace
