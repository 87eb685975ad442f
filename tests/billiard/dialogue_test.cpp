#include "dialogue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

// A temporary stream holding text, read from its start.
struct Input {
    explicit Input(const std::string& text) : file(std::tmpfile()) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::rewind(file);
    }
    ~Input() { std::fclose(file); }
    std::FILE* file;
};

TEST(ReadIntToken, AcceptsOnlyWhole32BitIntegers) {
    struct Row {
        const char* text;
        TokenStatus status;
        int value;
    } rows[] = {
        {"42", TokenStatus::ok, 42},
        {"  \t\r\n-7 ", TokenStatus::ok, -7},
        {"+5", TokenStatus::ok, 5},
        {"2147483647", TokenStatus::ok, 2147483647},
        {"-2147483648", TokenStatus::ok, -2147483647 - 1},
        {"2147483648", TokenStatus::invalid, 0},
        {"-2147483649", TokenStatus::invalid, 0},
        {"99999999999999999999999", TokenStatus::invalid, 0},
        {"2.5", TokenStatus::invalid, 0},
        {"12abc", TokenStatus::invalid, 0},
        {"0x10", TokenStatus::invalid, 0},
        {"abc", TokenStatus::invalid, 0},
        {"", TokenStatus::endOfInput, 0},
        {" \n\r\n", TokenStatus::endOfInput, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        Input in(row.text);
        int value = 0;
        EXPECT_EQ(readIntToken(in.file, value), row.status);
        EXPECT_EQ(value, row.value) << "a refused token leaves the value alone";
    }
}

TEST(ReadIntToken, AnEmbeddedNulByteMakesTheTokenInvalid) {
    Input in(
        std::string("12\0"
                    "3 7",
                    6));
    int value = 0;
    EXPECT_EQ(readIntToken(in.file, value), TokenStatus::invalid);
    EXPECT_EQ(readIntToken(in.file, value), TokenStatus::ok);
    EXPECT_EQ(value, 7) << "reading goes on after the bad token";
}

TEST(ReadIntToken, AVeryLongTokenIsInvalidAndConsumedWhole) {
    Input in(std::string(100000, '1') + " 3");
    int value = 0;
    EXPECT_EQ(readIntToken(in.file, value), TokenStatus::invalid);
    EXPECT_EQ(readIntToken(in.file, value), TokenStatus::ok);
    EXPECT_EQ(value, 3);
}

TEST(ReadFloatToken, TakesTheUsualFloatSyntax) {
    struct Row {
        const char* text;
        TokenStatus status;
        float value;
    } rows[] = {
        {"2.5", TokenStatus::ok, 2.5f},
        {"-1e3", TokenStatus::ok, -1000.0f},
        {"7", TokenStatus::ok, 7.0f},
        {"inf", TokenStatus::ok, INFINITY},
        {"-infinity", TokenStatus::ok, -INFINITY},
        {"1e-50", TokenStatus::ok, 0.0f},
        {"1e40", TokenStatus::invalid, 0.0f},
        {"-1e40", TokenStatus::invalid, 0.0f},
        {"1,5", TokenStatus::invalid, 0.0f},
        {"x", TokenStatus::invalid, 0.0f},
        {"", TokenStatus::endOfInput, 0.0f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        Input in(row.text);
        float value = 0.0f;
        EXPECT_EQ(readFloatToken(in.file, value), row.status);
        EXPECT_EQ(value, row.value);
    }
    Input nan("nan");
    float value = 0.0f;
    EXPECT_EQ(readFloatToken(nan.file, value), TokenStatus::ok);
    EXPECT_TRUE(std::isnan(value));
}

TEST(RunDialogue, ReadsTheFiveValuesAndAsksAgainForBadOnes) {
    Input in("x 10\n5\n2.5\n1\n-1\n0.5\n99\n-1\n7\n");
    DialogueInput input;
    testing::internal::CaptureStdout();
    ASSERT_EQ(runDialogue(in.file, input).end, DialogueEnd::complete);
    const std::string out = testing::internal::GetCapturedStdout();
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
        testing::internal::CaptureStdout();
        EXPECT_EQ(runDialogue(in.file, input).end, DialogueEnd::endOfInput);
        testing::internal::GetCapturedStdout();
    }
}

}  // namespace
