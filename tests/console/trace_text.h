#pragma once

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
// bounce; its trace after the dialogue.
inline const std::string readmeInput = "10\n5\n2\n1\n1\n1\n1\n";
inline const std::string readmeTrace =
    startNowhere + step("2.00,1.00/22.00,21.00", "0 0 1 0", "3", "0 0 1 0", "6.00,5.00") +
    step("6.00,5.00/86.00,-75.00", "0 1 1 0", "2", "0 1 0 0", "10.00,1.00");
