#include "dialogue.h"

#include <gtest/gtest.h>

#include <string>

#include "run.h"
#include "scene.h"
#include "stdout_capture.h"
#include "text_input.h"

namespace {

TEST(RunDialogue, ReadsTheFiveValuesAndAsksAgainForBadOnes) {
    Input in("x 10\n5\n2.5\n1\n-1\n0.5\n99\n-1\n7\n");
    DialogueInput input;
    StdoutCapture capture;
    const DialogueEnd end = runDialogue(in.file, input).end;
    const std::string out = capture.finish();
    ASSERT_EQ(end, DialogueEnd::complete);
    EXPECT_EQ(out,
              "Unesite dimenzije pravougaonika:\na=Neispravan unos, pokusajte ponovo.\na=b="
              "Unesite pocetnu tacku:\nx=y=Unesite vektor pravca:\nx=y=Unesite broj odbijanja:\n"
              "Broj odbijanja mora biti od 0 do 98!\nUnesite broj odbijanja:\n"
              "Broj odbijanja mora biti od 0 do 98!\nUnesite broj odbijanja:\n");
    EXPECT_EQ(input.a, 10);
    EXPECT_EQ(input.b, 5);
    EXPECT_EQ(input.startPoint.x, 2.5f);
    EXPECT_EQ(input.startPoint.y, 1.0f);
    EXPECT_EQ(input.ballDirection.x, -1.0f);
    EXPECT_EQ(input.ballDirection.y, 0.5f);
    EXPECT_EQ(input.startPoint.color, 9);
    EXPECT_EQ(input.bounceCount, 7);
}

TEST(RunDialogue, FailsWhenInputEndsAtAnyPoint) {
    const std::string whole = "10 5 2 1 1 1 1";
    for (size_t cut = 0; cut < whole.size(); cut += 2) {
        SCOPED_TRACE(cut);
        Input in(whole.substr(0, cut));
        DialogueInput input;
        StdoutCapture prompts;
        const DialogueEnd end = runDialogue(in.file, input).end;
        prompts.finish();  // not checked here
        EXPECT_EQ(end, DialogueEnd::endOfInput);
    }
}

// The first probe line prints a NaN direction component with the sign it
// was typed with. C libraries may read "-nan" without its sign, and RISC-V,
// MIPS and soft-float ARM make NaNs of their own sign in arithmetic: each
// once printed "nan" there where x86-64 prints "-nan".
TEST(RunDialogue, ATypedNaNKeepsItsSignInTheTrace) {
    const struct {
        const char* direction;
        const char* probe;
    } rows[] = {
        {"-nan nan", "<<2.00,1.00/-nan,nan/>>\n"},
        {"nan -nan", "<<2.00,1.00/nan,-nan/>>\n"},
        {"-NAN(7) +nan", "<<2.00,1.00/-nan,nan/>>\n"},
        {"1 -nan", "<<2.00,1.00/22.00,-nan/>>\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.direction);
        resetScene();
        Input in(std::string("10 5 2 1 ") + row.direction + " 0\n");
        DialogueInput input;
        StdoutCapture capture;
        const DialogueEnd end = runDialogue(in.file, input).end;
        capture.finish();  // the prompts, checked above
        ASSERT_EQ(end, DialogueEnd::complete);
        StdoutCapture trace;
        runBilliard(input.a, input.b, input.startPoint, input.ballDirection, input.bounceCount);
        const std::string out = trace.finish();
        const std::size_t probe = out.find("<<");
        ASSERT_NE(probe, std::string::npos) << out;
        EXPECT_EQ(out.substr(probe, out.find('\n', probe) + 1 - probe), row.probe);
    }
}

}  // namespace
