#include <cstdio>

#include "dialogue.h"
#include "run.h"
#include "viewer.h"

int main(int argc, char** argv) {
    DialogueInput input;
    if (!runDialogue(stdin, input)) {
        std::fputs("Unos je prekinut pre kraja dijaloga.\n", stderr);
        return 1;
    }
    runBilliard(input.a, input.b, input.startPoint, input.ballDirection, input.bounceCount);
    // A pipe must see the whole trace while the window is up.
    std::fflush(stdout);
    startViewer(argc, argv);
    return 0;
}
