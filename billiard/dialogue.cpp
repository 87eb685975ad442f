#include "dialogue.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "run.h"

namespace {

// Far longer than any number worth typing (digits, sign, point and
// exponent); a longer token is invalid. A fixed buffer keeps the reads off
// the heap.
constexpr int maxTokenLength = 4096;

const char* const invalidMessage = "Neispravan unos, pokusajte ponovo.\n";
const char* const countMessage = "Broj odbijanja mora biti od 0 do 98!\n";

struct Token {
    char text[maxTokenLength + 1] = {};
    int length = 0;
    bool tooLong = false;
};

// Skips whitespace, then reads characters up to the next whitespace or the
// end of input. Returns false when the input ends before a token starts.
bool nextToken(std::FILE* in, Token& token) {
    int c = std::fgetc(in);
    while (c != EOF && std::isspace(c)) {
        c = std::fgetc(in);
    }
    if (c == EOF) {
        return false;
    }
    while (c != EOF && !std::isspace(c)) {
        if (token.length < maxTokenLength) {
            token.text[token.length++] = static_cast<char>(c);
        } else {
            token.tooLong = true;
        }
        c = std::fgetc(in);
    }
    token.text[token.length] = '\0';
    return true;
}

// A token is whole when the parser consumed all of it; an embedded NUL
// byte stops the parser early and so makes the token invalid.
bool consumedWhole(const Token& token, const char* end) {
    return !token.tooLong && token.length > 0 && end == token.text + token.length;
}

void prompt(const char* text) {
    std::fputs(text, stdout);
    std::fflush(stdout);
}

// Prompts with text and reads until a whole int arrives.
bool askInt(std::FILE* in, const char* text, int& value) {
    for (;;) {
        prompt(text);
        const TokenStatus status = readIntToken(in, value);
        if (status == TokenStatus::ok) {
            return true;
        }
        if (status == TokenStatus::endOfInput) {
            return false;
        }
        std::fputs(invalidMessage, stdout);
    }
}

bool askFloat(std::FILE* in, const char* text, float& value) {
    for (;;) {
        prompt(text);
        const TokenStatus status = readFloatToken(in, value);
        if (status == TokenStatus::ok) {
            return true;
        }
        if (status == TokenStatus::endOfInput) {
            return false;
        }
        std::fputs(invalidMessage, stdout);
    }
}

}  // namespace

TokenStatus readIntToken(std::FILE* in, int& value) {
    Token token;
    if (!nextToken(in, token)) {
        return TokenStatus::endOfInput;
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

TokenStatus readFloatToken(std::FILE* in, float& value) {
    Token token;
    if (!nextToken(in, token)) {
        return TokenStatus::endOfInput;
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
    value = parsed;
    return TokenStatus::ok;
}

bool runDialogue(std::FILE* in, DialogueInput& input) {
    input = DialogueInput();
    prompt("Unesite dimenzije pravougaonika:\n");
    if (!askInt(in, "a=", input.a) || !askInt(in, "b=", input.b)) {
        return false;
    }
    prompt("Unesite pocetnu tacku:\n");
    if (!askFloat(in, "x=", input.startPoint.x) || !askFloat(in, "y=", input.startPoint.y)) {
        return false;
    }
    prompt("Unesite vektor pravca:\n");
    if (!askFloat(in, "x=", input.ballDirection.x) || !askFloat(in, "y=", input.ballDirection.y)) {
        return false;
    }
    for (;;) {
        if (!askInt(in, "Unesite broj odbijanja:\n", input.bounceCount)) {
            return false;
        }
        if (input.bounceCount >= 0 && input.bounceCount <= maxBounceCount) {
            return true;
        }
        std::fputs(countMessage, stdout);
    }
}
