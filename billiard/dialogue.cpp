#include "dialogue.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "run.h"

namespace {

// Far longer than any number worth typing (digits, sign, point and
// exponent); a longer token is invalid. A fixed buffer keeps the reads off
// the heap.
constexpr int maxTokenLength = 4096;

const char* const invalidMessage = "Neispravan unos, pokusajte ponovo.\n";

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

// Writes text at once, so that it shows before the program waits for input.
// Returns 0, or the cause of the failure as flushOutput gives it.
int prompt(const char* text) {
    std::fputs(text, stdout);
    return flushOutput(stdout);
}

// Writes heading, when there is one, then prompts with text and reads with
// read until a whole value arrives. When the input ends or fails, a prompt
// that left its line open gets it ended.
template <typename Value>
DialogueResult ask(std::FILE* in, const char* heading, const char* text, Value& value,
                   TokenStatus (*read)(std::FILE*, Value&, bool), bool atInputStart = false) {
    if (heading != nullptr) {
        if (const int error = prompt(heading); error != 0) {
            return {DialogueEnd::outputError, error};
        }
    }
    for (;;) {
        if (const int error = prompt(text); error != 0) {
            return {DialogueEnd::outputError, error};
        }
        const TokenStatus status = read(in, value, atInputStart);
        atInputStart = false;
        if (status == TokenStatus::ok) {
            return {DialogueEnd::complete, 0};
        }
        if (status == TokenStatus::invalid) {
            std::fputs(invalidMessage, stdout);
            continue;
        }
        // The failed read's cause is taken before anything else can touch errno.
        const DialogueResult end = status == TokenStatus::readError
                                       ? DialogueResult{DialogueEnd::readError, errno}
                                       : DialogueResult{DialogueEnd::endOfInput, 0};
        if (text[std::strlen(text) - 1] != '\n') {
            if (const int error = prompt("\n"); error != 0) {
                return {DialogueEnd::outputError, error};
            }
        }
        return end;
    }
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
    value = parsed;
    return TokenStatus::ok;
}

DialogueResult runDialogue(std::FILE* in, DialogueInput& input) {
    input = DialogueInput();
    // Each question is asked only while every answer before it has come.
    DialogueResult result =
        ask(in, "Unesite dimenzije pravougaonika:\n", "a=", input.a, readIntToken, /*atInputStart=*/true);
    if (result.end == DialogueEnd::complete) {
        result = ask(in, nullptr, "b=", input.b, readIntToken);
    }
    if (result.end == DialogueEnd::complete) {
        result = ask(in, "Unesite pocetnu tacku:\n", "x=", input.startPoint.x, readFloatToken);
    }
    if (result.end == DialogueEnd::complete) {
        result = ask(in, nullptr, "y=", input.startPoint.y, readFloatToken);
    }
    if (result.end == DialogueEnd::complete) {
        result = ask(in, "Unesite vektor pravca:\n", "x=", input.ballDirection.x, readFloatToken);
    }
    if (result.end == DialogueEnd::complete) {
        result = ask(in, nullptr, "y=", input.ballDirection.y, readFloatToken);
    }
    while (result.end == DialogueEnd::complete) {
        result = ask(in, nullptr, "Unesite broj odbijanja:\n", input.bounceCount, readIntToken);
        if (result.end == DialogueEnd::complete) {
            if (input.bounceCount >= 0 && input.bounceCount <= maxBounceCount) {
                return result;
            }
            // The range is the path's: 0 to maxBounceCount.
            std::printf("Broj odbijanja mora biti od 0 do %d!\n", maxBounceCount);
        }
    }
    return result;
}

int flushOutput(std::FILE* out) {
    errno = 0;
    const bool flushed = std::fflush(out) == 0;
    if (flushed && !std::ferror(out)) {
        return 0;
    }
    // Only a failing fflush names its cause; an error flag left by an earlier
    // write has lost it.
    return flushed || errno == 0 ? EIO : errno;
}
