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
