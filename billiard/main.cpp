#include <cerrno>
#include <cstdio>
#include <cstring>
#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include "dialogue.h"
#include "run.h"
#include "viewer.h"

namespace {

// Standard output could not take the prompts or the trace; error names why.
int outputFailed(int error) {
    std::fprintf(stderr, "Ispis nije uspeo: %s\n", std::strerror(error));
    return 1;
}

#ifndef _WIN32
// A closed standard error is opened on /dev/null, where its messages would
// have gone anyway. Left closed, descriptor 2 would go to the next file
// opened, the X connection, and a library's message on stderr would then
// corrupt the X protocol and leave the program waiting forever. Closed
// standard input and output stay closed: the dialogue reports them and
// ends the program before anything else is opened.
void keepStandardErrorOpen() {
    if (fcntl(STDERR_FILENO, F_GETFD) != -1 || errno != EBADF) {
        return;
    }
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0 && null != STDERR_FILENO) {
        // A closed descriptor 0 or 1 got it: give it back.
        dup2(null, STDERR_FILENO);
        close(null);
    }
}
#endif

}  // namespace

int main(int argc, char** argv) {
#ifndef _WIN32
    keepStandardErrorOpen();
#endif
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
