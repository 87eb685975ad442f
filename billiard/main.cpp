#include <cstdio>
#include <cstring>

#include "dialogue.h"
#include "run.h"
#include "standard_streams.h"
#include "viewer.h"

namespace {

// Standard output could not take the prompts or the trace; error names why.
int outputFailed(int error) {
    std::fprintf(stderr, "Ispis nije uspeo: %s\n", std::strerror(error));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    prepareStandardStreams();
    DialogueInput input;
    const DialogueResult dialogue = runDialogue(stdin, input);
    switch (dialogue.end) {
        case DialogueEnd::complete:
            break;
        case DialogueEnd::endOfInput:
            std::fputs("Unos je prekinut pre kraja dijaloga.\n", stderr);
            return 1;
        case DialogueEnd::readError:
            std::fprintf(stderr, "Citanje ulaza nije uspelo: %s\n", std::strerror(dialogue.error));
            return 1;
        case DialogueEnd::outputError:
            return outputFailed(dialogue.error);
    }
    runBilliard(input.a, input.b, input.startPoint, input.ballDirection, input.bounceCount);
    // The whole trace is out before the window opens, so a pipe sees it
    // while the window is up; a trace that did not arrive is reported
    // instead of a window.
    if (const int error = flushOutput(stdout); error != 0) {
        return outputFailed(error);
    }
    startViewer(argc, argv);
    return 0;
}
