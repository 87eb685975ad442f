#include "token.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "text_input.h"

namespace {

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
    Input in(std::string("12\0003 7", 6));  // 1, 2, NUL, 3, space, 7
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
}

// The trace prints a NaN's sign, and C libraries disagree on it (musl reads
// "-nan" as a NaN without one): the typed sign must come through everywhere.
TEST(ReadFloatToken, KeepsTheTypedSignOfANaN) {
    struct Row {
        const char* text;
        bool negative;
    } rows[] = {{"nan", false}, {"+nan", false}, {"-nan", true}, {"-NAN(123)", true}, {"NaN", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        Input in(row.text);
        float value = 0.0f;
        EXPECT_EQ(readFloatToken(in.file, value), TokenStatus::ok);
        EXPECT_TRUE(std::isnan(value));
        EXPECT_EQ(std::signbit(value), row.negative);
    }
}

}  // namespace
