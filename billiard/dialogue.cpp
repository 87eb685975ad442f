#include "dialogue.h"

#include <cerrno>
#include <cstring>

#include "run.h"
#include "standard_streams.h"
#include "token.h"

namespace {

const char* const invalidMessage = "Neispravan unos, pokusajte ponovo.\n";

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
