#include "token.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// Far longer than any number worth typing (digits, sign, point and
// exponent); a longer token is invalid. A fixed buffer keeps the reads off
// the heap.
constexpr int maxTokenLength = 4096;

// Some editors start a UTF-8 file with these bytes.
constexpr char byteOrderMark[] = "\xEF\xBB\xBF";
constexpr int byteOrderMarkLength = 3;

struct Token {
    char text[maxTokenLength + 1] = {};
    int length = 0;
    bool tooLong = false;
};

// Skips whitespace, then reads characters up to the next whitespace or the
// end of input. With atInputStart, a byte-order mark that opens the input is
// dropped; when it stands alone, the token is the one after it.
TokenStatus nextToken(std::FILE* in, Token& token, bool atInputStart) {
    bool markPossible = atInputStart;
    int c = std::fgetc(in);
    do {
        while (c != EOF && std::isspace(c)) {
            markPossible = false;
            c = std::fgetc(in);
        }
        while (c != EOF && !std::isspace(c)) {
            if (token.length < maxTokenLength) {
                token.text[token.length++] = static_cast<char>(c);
            } else {
                token.tooLong = true;
            }
            if (markPossible && token.length == byteOrderMarkLength) {
                markPossible = false;
                if (std::memcmp(token.text, byteOrderMark, byteOrderMarkLength) == 0) {
                    token.length = 0;
                }
            }
            c = std::fgetc(in);
        }
        // EOF stands for both the end and a failed read; only the error
        // flag tells them apart, and a token cut short by an error is no
        // answer.
        if (c == EOF && std::ferror(in)) {
            return TokenStatus::readError;
        }
    } while (c != EOF && token.length == 0);
    if (token.length == 0) {
        return TokenStatus::endOfInput;
    }
    token.text[token.length] = '\0';
    return TokenStatus::ok;
}

// A token is whole when the parser consumed all of it; an embedded NUL
// byte stops the parser early and so makes the token invalid.
bool consumedWhole(const Token& token, const char* end) {
    return !token.tooLong && token.length > 0 && end == token.text + token.length;
}

}  // namespace

TokenStatus readIntToken(std::FILE* in, int& value, bool atInputStart) {
    Token token;
    const TokenStatus read = nextToken(in, token, atInputStart);
    if (read != TokenStatus::ok) {
        return read;
    }
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(token.text, &end, 10);
    if (!consumedWhole(token, end) || errno == ERANGE || parsed < INT32_MIN || parsed > INT32_MAX) {
        return TokenStatus::invalid;
    }
    value = static_cast<int>(parsed);
    return TokenStatus::ok;
}

TokenStatus readFloatToken(std::FILE* in, float& value, bool atInputStart) {
    Token token;
    const TokenStatus read = nextToken(in, token, atInputStart);
    if (read != TokenStatus::ok) {
        return read;
    }
    errno = 0;
    char* end = nullptr;
    const float parsed = std::strtof(token.text, &end);
    // Overflow of a finite literal ("1e40") is refused; tiny values that
    // round towards zero are kept, as any float read keeps them.
    const bool overflow = errno == ERANGE && std::isinf(parsed);
    if (!consumedWhole(token, end) || overflow) {
        return TokenStatus::invalid;
    }
    // IEEE 754 leaves a NaN's sign to the implementation, and C libraries
    // differ: glibc and MinGW-w64 read "-nan" with its sign bit set, musl
    // without. The trace prints the sign, so the typed one is put on here.
    value = std::isnan(parsed) ? std::copysign(parsed, token.text[0] == '-' ? -1.0f : 1.0f) : parsed;
    return TokenStatus::ok;
}
