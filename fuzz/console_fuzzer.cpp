// The console side on arbitrary bytes: the dialogue reads them as standard
// input, and when it completes the run goes ahead (no window). Checks that
// every bad value is reported and asked for again, that each token answers
// exactly one prompt, that an early end is reported only when the input is
// used up, and that the run fills the scene as a complete dialogue promises.
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "dialogue.h"
#include "fuzz_support.h"
#include "run.h"

namespace {

const std::string invalidMessage = "Neispravan unos, pokusajte ponovo.\n";
const std::string countMessage = "Broj odbijanja mora biti od 0 do " + std::to_string(maxBounceCount) + "!\n";
const std::string countPrompt = "Unesite broj odbijanja:\n";

// Standard output goes to one temporary file for the whole fuzzing run; each
// input starts it afresh and reads back what was printed.
std::FILE* capture() {
    static std::FILE* const sink = [] {
        std::FILE* file = std::tmpfile();
        FUZZ_CHECK(file != nullptr);
        std::fflush(stdout);
        FUZZ_CHECK(dup2(fileno(file), STDOUT_FILENO) >= 0);
        return file;
    }();
    return sink;
}

void startCapture() {
    std::fflush(stdout);
    FUZZ_CHECK(ftruncate(STDOUT_FILENO, 0) == 0);
    FUZZ_CHECK(lseek(STDOUT_FILENO, 0, SEEK_SET) == 0);
}

std::string capturedOutput() {
    std::fflush(stdout);
    std::string text;
    char buffer[4096];
    off_t offset = 0;
    for (;;) {
        const ssize_t n = pread(STDOUT_FILENO, buffer, sizeof buffer, offset);
        FUZZ_CHECK(n >= 0);
        if (n == 0) {
            return text;
        }
        text.append(buffer, static_cast<size_t>(n));
        offset += n;
    }
}

bool endsWithAt(const std::string& text, size_t end, const std::string& suffix) {
    return end >= suffix.size() && text.compare(end - suffix.size(), suffix.size(), suffix) == 0;
}

// Every message stands between two copies of the same prompt: the one whose
// answer was refused and the one that asks again.
void checkMessagesAreFollowedByTheirPrompt(const std::string& out) {
    for (size_t at = out.find(invalidMessage); at != std::string::npos;
         at = out.find(invalidMessage, at + 1)) {
        bool asked = false;
        for (const std::string prompt : {"a=", "b=", "x=", "y=", countPrompt.c_str()}) {
            if (endsWithAt(out, at, prompt)) {
                FUZZ_CHECK(out.compare(at + invalidMessage.size(), prompt.size(), prompt) == 0);
                asked = true;
            }
        }
        FUZZ_CHECK(asked);
    }
    for (size_t at = out.find(countMessage); at != std::string::npos; at = out.find(countMessage, at + 1)) {
        FUZZ_CHECK(endsWithAt(out, at, countPrompt));
        FUZZ_CHECK(out.compare(at + countMessage.size(), countPrompt.size(), countPrompt) == 0);
    }
}

// Whitespace-separated tokens, counted on the raw bytes after the
// byte-order mark that the dialogue skips at the very start.
size_t countTokens(const std::uint8_t* data, size_t size) {
    size_t tokens = 0;
    bool inToken = false;
    const size_t first = size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF ? 3 : 0;
    for (size_t i = first; i < size; ++i) {
        const bool space = std::isspace(data[i]) != 0;
        tokens += !space && !inToken ? 1 : 0;
        inToken = !space;
    }
    return tokens;
}

size_t countOccurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

// Each prompt asks for one value: the four coordinate prompts and the
// count's line (which the first time also opens its part of the dialogue).
size_t countPrompts(const std::string& dialogue) {
    size_t prompts = countOccurrences(dialogue, countPrompt);
    for (const char* prompt : {"a=", "b=", "x=", "y="}) {
        prompts += countOccurrences(dialogue, prompt);
    }
    return prompts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    capture();
    resetScene();
    startCapture();

    // fmemopen refuses an empty buffer, so the copy always holds one byte
    // more than the stream shows.
    std::vector<char> bytes(data, data + size);
    bytes.push_back('\0');
    std::FILE* in = size == 0 ? std::fopen("/dev/null", "r") : fmemopen(bytes.data(), size, "r");
    FUZZ_CHECK(in != nullptr);

    DialogueInput input;
    const DialogueEnd end = runDialogue(in, input).end;
    // A memory stream neither fails to read nor to take the prompts.
    FUZZ_CHECK(end == DialogueEnd::complete || end == DialogueEnd::endOfInput);
    const bool complete = end == DialogueEnd::complete;
    const std::string dialogue = capturedOutput();
    checkMessagesAreFollowedByTheirPrompt(dialogue);

    // Every prompt but an unanswered last one takes exactly one token.
    const size_t tokens = countTokens(data, size);
    const size_t prompts = countPrompts(dialogue);
    if (!complete) {
        // An early end is reported only when there was nothing left to read.
        FUZZ_CHECK(std::fgetc(in) == EOF && std::feof(in));
        FUZZ_CHECK(prompts >= 1 && tokens == prompts - 1);
        // The line of the unanswered prompt is ended.
        FUZZ_CHECK(dialogue.back() == '\n');
    } else {
        FUZZ_CHECK(tokens >= prompts);
        FUZZ_CHECK(input.bounceCount >= 0 && input.bounceCount <= maxBounceCount);
        runBilliard(input.a, input.b, input.startPoint, input.ballDirection, input.bounceCount);
        const size_t steps = static_cast<size_t>(input.bounceCount) + 1;
        FUZZ_CHECK(scenePoints.size() == 1);
        const bool accepted = isInsideRectangle(input.a, input.b, input.startPoint);
        FUZZ_CHECK(sceneSegments.size() == (accepted ? 5 * steps : 0));
    }
    std::fclose(in);
    return 0;
}
