#pragma once

#include <string>
#include <vector>

#include "program_runner.h"

// Pieces of the program's standard output, for writing expected traces.

inline const std::string invalid = "Neispravan unos, pokusajte ponovo.\n";

// The dialogue with each value in refused (0 to 6: a, b, the start point's x
// and y, the direction's x and y, the bounce count) refused once, in order:
// message follows the value's prompt, which is then asked again without the
// heading line above it (the count's prompt, a line of its own, comes whole).
inline std::string dialogueRefusing(const std::vector<int>& refused, const std::string& message = invalid) {
    const std::string prompts[] = {
        "Unesite dimenzije pravougaonika:\na=", "b=", "Unesite pocetnu tacku:\nx=", "y=",
        "Unesite vektor pravca:\nx=",           "y=", "Unesite broj odbijanja:\n"};
    std::string text;
    for (int value = 0; value < 7; ++value) {
        const std::string& prompt = prompts[value];
        const std::size_t heading = value < 6 ? prompt.find('\n') : std::string::npos;
        text += prompt;
        for (const int again : refused) {
            if (again == value) {
                text += message + (heading == std::string::npos ? prompt : prompt.substr(heading + 1));
            }
        }
    }
    return text;
}

// The whole dialogue when every value is accepted at once.
inline const std::string dialogue = dialogueRefusing({});
inline const std::string rejected = "Tacka nije u pravougaoniku!\n";

// The start-wall line of a start point on no wall.
inline const std::string startNowhere = "0 0 0 0\n\n\n\n\n";

// One step's trace: probe, intersection results, choice, flags, position.
inline std::string step(const std::string& probe, const std::string& results, const std::string& choice,
                        const std::string& flags, const std::string& position) {
    return "\n\n<<" + probe + "/>>\n<<<<<" + results + "/>>>>>\n" + choice + "\n" + flags + "\n(" + position +
           ")\n";
}

// A step that reaches no wall.
inline std::string passStep(const std::string& probe, const std::string& results) {
    return "\n\n<<" + probe + "/>>\n<<<<<" + results + "/>>>>>\nProlaz\n";
}

// The README's example: a 10 by 5 table, start (2, 1), direction (1, 1), one
// bounce. Its whole standard output is kept once, in readme_example.txt,
// which the package check compares the packaged program's output with too;
// readmeTrace is what follows the dialogue.
inline const std::string readmeInput = "10\n5\n2\n1\n1\n1\n1\n";
inline const std::string readmeOutput = readFile(BILIJAR_README_EXAMPLE);
// Empty, so that every test of it fails, unless the file starts with the
// dialogue.
inline const std::string readmeTrace =
    readmeOutput.compare(0, dialogue.size(), dialogue) == 0 ? readmeOutput.substr(dialogue.size()) : "";
