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

enum class TokenStatus { ok, invalid, endOfInput, readError };

// Reads the next whitespace-separated token from in and parses it whole.
// An int must fit in 32 bits; a float takes strtof's syntax ("nan" and
// "inf" included) but not a finite literal too large for a float. A bad
// token, or one over 4096 characters, is consumed and reported as invalid.
// A read that fails gives readError, with errno naming the cause. With
// atInputStart, a UTF-8 byte-order mark that opens the input is skipped;
// anywhere else its bytes are part of a token.
TokenStatus readIntToken(std::FILE* in, int& value, bool atInputStart = false);
TokenStatus readFloatToken(std::FILE* in, float& value, bool atInputStart = false);

// How the dialogue ended.
enum class DialogueEnd {
    complete,     // every value has been read
    endOfInput,   // the input ended first
    readError,    // reading the input failed
    outputError,  // a prompt could not be written
};

// How the dialogue ended and, when reading or writing failed, why.
struct DialogueResult {
    DialogueEnd end = DialogueEnd::complete;
    int error = 0;  // the errno value naming the cause of a readError or outputError; else 0
};

// Asks for the rectangle, start point, direction and bounce count on
// standard output and reads them from in, which it reads from its start. A
// bad token, or a count outside 0 to maxBounceCount, is reported and asked
// for again.
// When the input ends or fails, the line that a prompt left open ("a=") is
// ended first, so that whatever is said next starts a line of its own.
DialogueResult runDialogue(std::FILE* in, DialogueInput& input);

// Writes out what out still holds. Returns 0 when everything written to out
// so far has arrived; otherwise the errno value naming the cause (EIO when an
// earlier write failed and its cause is gone).
int flushOutput(std::FILE* out);
