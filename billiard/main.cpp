#include <cerrno>
#include <cstdio>
#include <cstring>

#include "binary_streams.h"
#include "dialogue.h"
#include "run.h"
#include "viewer.h"

namespace {

// Standard output could not take the prompts or the trace.
int outputFailed() {
    std::fprintf(stderr, "Ispis nije uspeo: %s\n", std::strerror(errno));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    useBinaryStreams();
    DialogueInput input;
    switch (runDialogue(stdin, input)) {
        case DialogueEnd::complete:
            break;
        case DialogueEnd::endOfInput:
            std::fputs("Unos je prekinut pre kraja dijaloga.\n", stderr);
            return 1;
        case DialogueEnd::readError:
            std::fprintf(stderr, "Citanje ulaza nije uspelo: %s\n", std::strerror(errno));
            return 1;
        case DialogueEnd::outputError:
            return outputFailed();
    }
    runBilliard(input.a, input.b, input.startPoint, input.ballDirection, input.bounceCount);
    // The whole trace is out before the window opens, so a pipe sees it
    // while the window is up; a trace that did not arrive is reported
    // instead of a window.
    if (!flushOutput(stdout)) {
        return outputFailed();
    }
    startViewer(argc, argv);
    return 0;
}
