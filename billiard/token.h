#pragma once

#include <cstdio>

// The console's input, one token at a time: the dialogue reads each answer
// with one of these.

// What a token read gave: a value, a bad token, the end of the input or a
// failed read.
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
