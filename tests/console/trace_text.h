#pragma once

#include <fstream>
#include <iterator>
#include <string>

// Pieces of the program's standard output, for writing expected traces.

// The whole dialogue when every value is accepted at once.
inline const std::string dialogue =
    "Unesite dimenzije pravougaonika:\n"
    "a=b=Unesite pocetnu tacku:\n"
    "x=y=Unesite vektor pravca:\n"
    "x=y=Unesite broj odbijanja:\n";

inline const std::string invalid = "Neispravan unos, pokusajte ponovo.\n";
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
inline std::string readmeOutputFile() {
    std::ifstream file(BILIJAR_README_EXAMPLE, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
inline const std::string readmeOutput = readmeOutputFile();
// Empty, so that every test of it fails, unless the file starts with the
// dialogue.
inline const std::string readmeTrace =
    readmeOutput.compare(0, dialogue.size(), dialogue) == 0 ? readmeOutput.substr(dialogue.size()) : "";
