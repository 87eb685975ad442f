#pragma once

#include <cstdio>

#include "records.h"

// The five values that a run needs, as the dialogue reads them.
struct DialogueInput {
    int a = 0;
    int b = 0;
    Point startPoint;
    Point ballDirection;
    int bounceCount = 0;
};

enum class TokenStatus { ok, invalid, endOfInput };

// Reads the next whitespace-separated token from in and parses it whole.
// An int must fit in 32 bits; a float takes strtof's syntax ("nan" and
// "inf" included) but not a finite literal too large for a float. A bad
// token, or one over 4096 characters, is consumed and reported as invalid.
TokenStatus readIntToken(std::FILE* in, int& value);
TokenStatus readFloatToken(std::FILE* in, float& value);

// Asks for the rectangle, start point, direction and bounce count on
// standard output and reads them from in. A bad token, or a count outside
// 0 to 98, is reported and asked for again. Returns false when the input
// ends before every value has been read.
bool runDialogue(std::FILE* in, DialogueInput& input);
