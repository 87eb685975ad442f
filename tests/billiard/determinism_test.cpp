// One fixed set of seeded dialogues, run through the program's own dialogue
// and run code, whose whole console output must hash to the constant below on
// every platform: any printed digit that differs anywhere changes the hash.
//
// Beside the constant, determinism_reference.inc holds a short hash of each
// dialogue's output, so that a failure names the first dialogue that
// differs, with its answers and its output here. A failing run writes the
// table it saw, for a change that changes the output on purpose, to the file
// BILIJAR_DETERMINISM_TABLE (determinism_reference.inc in the build's tests
// folder), and names it; where that file cannot be written (under Node the
// files are in memory), the table is part of the failure's message instead.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "dialogue.h"
#include "run.h"
#include "scene.h"
#include "stdout_capture.h"
#include "text_input.h"

namespace {

// 64-bit FNV-1a of everything the runs printed, on the platform where it was
// last changed on purpose. Change it only with the change that changes the
// output.
constexpr std::uint64_t expectedHash = 0xbf3c52f66971b297ULL;
constexpr int dialogueCount = 3000;
constexpr std::uint32_t seed = 20240611;

// The low 32 bits of each dialogue's FNV-1a, dialogue 0 first.
constexpr std::uint32_t referenceHashes[] = {
#include "determinism_reference.inc"
};
static_assert(sizeof referenceHashes / sizeof referenceHashes[0] == dialogueCount + 1,
              "one reference hash per dialogue");

std::uint64_t fnv1a(const std::string& text, std::uint64_t hash = 0xcbf29ce484222325ULL) {
    for (const unsigned char c : text) {
        hash = (hash ^ c) * 0x100000001b3ULL;
    }
    return hash;
}

// Inputs are made from the generator's raw 32-bit outputs, which the
// standard fixes for std::mt19937, with integer arithmetic only, and written
// as decimal text without printf's floating-point formatting, so that every
// platform feeds the program the same bytes. Each draw is a statement of its
// own: the order in which a function's arguments are worked out is the
// compiler's choice.
class Answers {
  public:
    std::uint32_t below(std::uint32_t n) { return engine_() % n; }
    std::int64_t between(std::int64_t lo, std::int64_t hi) {
        const std::uint64_t high = engine_();  // two statements: one order everywhere
        const std::uint64_t wide = (high << 32) | engine_();
        return lo + static_cast<std::int64_t>(wide % static_cast<std::uint64_t>(hi - lo + 1));
    }
    bool percent(std::uint32_t p) { return below(100) < p; }

  private:
    std::mt19937 engine_{seed};
};

// A decimal number held exactly as scaled / 10^places.
struct Decimal {
    std::int64_t scaled = 0;
    int places = 0;
};

std::int64_t power10(int places) {
    std::int64_t p = 1;
    for (int i = 0; i < places; ++i) {
        p *= 10;
    }
    return p;
}

std::string text(Decimal d) {
    const std::uint64_t magnitude =
        d.scaled < 0 ? 0 - static_cast<std::uint64_t>(d.scaled) : static_cast<std::uint64_t>(d.scaled);
    const std::uint64_t unit = static_cast<std::uint64_t>(power10(d.places));
    std::string s = (d.scaled < 0 ? "-" : "") + std::to_string(magnitude / unit);
    if (d.places > 0) {
        const std::string fraction = std::to_string(magnitude % unit);
        s += "." + std::string(static_cast<std::size_t>(d.places) - fraction.size(), '0') + fraction;
    }
    return s;
}

int side(Answers& r) {
    if (r.percent(80)) {
        return static_cast<int>(r.between(1, 30));
    }
    if (r.percent(40)) {
        return 0;
    }
    if (r.percent(80)) {
        return static_cast<int>(r.between(31, 1000));
    }
    const int big[] = {100000, 16777216, 16777217, 2147483647};
    return big[r.below(4)];
}

// A coordinate between lo and hi with one, two or six decimals.
Decimal coordinate(Answers& r, std::int64_t lo, std::int64_t hi) {
    const int places = r.percent(40) ? 1 : r.percent(50) ? 2 : 6;
    const std::int64_t unit = power10(places);
    return {r.between(lo * unit, hi * unit), places};
}

std::string magnitude(Answers& r) {
    const std::string sign = r.percent(50) ? "-" : "";
    const std::uint32_t kind = r.below(100);
    if (kind < 30) {
        return text({r.between(-50, 50), 1});
    }
    if (kind < 55) {
        return text({r.between(-500, 500), 2});
    }
    if (kind < 70) {
        return sign + std::to_string(r.between(1, 9));
    }
    if (kind < 86) {  // tiny, down to below the smallest float, or huge, up to near the largest
        const bool tiny = kind < 78;
        const std::string digits = text({r.between(1000, tiny ? 9999 : 3399), 3});
        const std::string exponent = std::to_string(tiny ? -r.between(3, 46) : r.between(5, 38));
        return sign + digits + "e" + exponent;
    }
    return text({r.between(-100000000, 100000000), 6});
}

const char* const specials[] = {"inf", "-inf", "nan", "-nan", "0x1p-149", "-0", "1e-46"};

// The seven answers of one dialogue, one a line.
std::string dialogue(Answers& r) {
    const int a = side(r);
    const int b = side(r);
    Decimal x;
    Decimal y;
    const std::uint32_t where = r.below(100);
    if (where < 55) {  // inside
        x = coordinate(r, 0, a);
        y = coordinate(r, 0, b);
    } else if (where < 70) {  // on a wall
        if (r.percent(50)) {
            x = {r.percent(50) ? 0 : a, 0};
            y = coordinate(r, 0, b);
        } else {
            y = {r.percent(50) ? 0 : b, 0};
            x = coordinate(r, 0, a);
        }
    } else if (where < 78) {  // in a corner
        x = {r.percent(50) ? 0 : a, 0};
        y = {r.percent(50) ? 0 : b, 0};
    } else if (where < 92) {  // outside, near or just past a side
        x = coordinate(r, -2, static_cast<std::int64_t>(a) + 2);
        y = coordinate(r, -2, static_cast<std::int64_t>(b) + 2);
        if (r.percent(50)) {
            x = r.percent(50) ? Decimal{static_cast<std::int64_t>(a) * 100 + 1, 2} : Decimal{-1, 2};
        }
    } else {  // anywhere around the table
        x = coordinate(r, -(static_cast<std::int64_t>(a) + 1), 2 * (static_cast<std::int64_t>(a) + 1));
        y = coordinate(r, -(static_cast<std::int64_t>(b) + 1), 2 * (static_cast<std::int64_t>(b) + 1));
    }

    std::string dx;
    std::string dy;
    const std::uint32_t towards = r.below(100);
    if (towards < 70) {
        dx = magnitude(r);
        dy = magnitude(r);
    } else if (towards < 80) {  // one or both components zero
        dx = magnitude(r);
        dy = magnitude(r);
        (r.percent(50) ? dx : dy) = "0";
        if (r.percent(20)) {
            dx = dy = "0";
        }
    } else if (towards < 94) {  // straight at a corner of the table
        const std::int64_t cx = r.percent(50) ? 0 : a;
        const std::int64_t cy = r.percent(50) ? 0 : b;  // after cx
        dx = text({cx * power10(x.places) - x.scaled, x.places});
        dy = text({cy * power10(y.places) - y.scaled, y.places});
    } else {  // infinities, NaNs, the smallest floats
        dx = r.percent(50) ? specials[r.below(7)] : magnitude(r);
        dy = specials[r.below(7)];
    }
    const std::int64_t count = r.percent(30) ? r.between(0, 5) : r.between(0, maxBounceCount);
    return std::to_string(a) + "\n" + std::to_string(b) + "\n" + text(x) + "\n" + text(y) + "\n" + dx + "\n" +
           dy + "\n" + std::to_string(count) + "\n";
}

// Runs one dialogue and its run in this process from a fresh scene; the
// output goes to standard output. False when the dialogue did not complete.
bool runOnce(const std::string& answers) {
    resetScene();
    Input in(answers);
    DialogueInput input;
    const bool complete = runDialogue(in.file, input).end == DialogueEnd::complete;
    if (complete) {
        runBilliard(input.a, input.b, input.startPoint, input.ballDirection, input.bounceCount);
    }
    std::fflush(stdout);
    return complete;
}

// value in hexadecimal with as many digits as its type has nibbles.
template <class Unsigned>
std::string hex(Unsigned value) {
    char text[19];
    std::snprintf(text, sizeof text, "0x%0*llx", static_cast<int>(2 * sizeof value),
                  static_cast<unsigned long long>(value));
    return text;
}

TEST(Determinism, SeededDialoguesPrintTheSameOnEveryPlatform) {
    // Dialogue 0: a 14 by 19 table from (0, 6.7) towards (2, 2), whose second
    // step misses the top wall when floats keep excess precision.
    std::vector<std::string> inputs{"14\n19\n0\n6.7\n2\n2\n1\n"};
    Answers answers;
    while (inputs.size() <= dialogueCount) {
        inputs.push_back(dialogue(answers));
    }

    std::vector<long> starts;
    int incomplete = -1;
    StdoutCapture capture;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        starts.push_back(capture.size());
        if (!runOnce(inputs[i]) && incomplete < 0) {
            incomplete = static_cast<int>(i);
        }
    }
    starts.push_back(capture.size());
    const std::string out = capture.finish();
    ASSERT_EQ(incomplete, -1) << "a generated dialogue did not complete:\n" << inputs[incomplete];
    ASSERT_EQ(static_cast<std::size_t>(starts.back()), out.size());

    std::vector<std::uint32_t> hashes;
    int accepted = 0;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const std::string trace = out.substr(static_cast<std::size_t>(starts[i]),
                                             static_cast<std::size_t>(starts[i + 1] - starts[i]));
        accepted += trace.find("Tacka nije u pravougaoniku!\n") == std::string::npos;
        hashes.push_back(static_cast<std::uint32_t>(fnv1a(trace)));
    }
    // A set that hardly ever gets past the start point would prove little.
    EXPECT_GT(accepted, dialogueCount / 2);

    const std::uint64_t hash = fnv1a(out);
    std::size_t first = 0;
    while (first < hashes.size() && hashes[first] == referenceHashes[first]) {
        ++first;
    }
    if (hash == expectedHash && first == hashes.size()) {
        return;
    }
    std::ostringstream table;
    for (std::size_t i = 0; i < hashes.size(); ++i) {
        table << hex(hashes[i]) << (i % 8 == 7 || i + 1 == hashes.size() ? ",\n" : ", ");
    }
    std::ofstream file(BILIJAR_DETERMINISM_TABLE, std::ios::binary);
    const std::string saved = (file << table.str()).flush()
                                  ? std::string("\nthe table seen here is in ") + BILIJAR_DETERMINISM_TABLE
                                  : std::string("\nthe table seen here, since ") + BILIJAR_DETERMINISM_TABLE +
                                        " cannot be written (" + std::strerror(errno) + "):\n" + table.str();
    std::string where =
        "\nevery dialogue matches its reference hash: the constant or the table is out of date";
    if (first < hashes.size()) {
        where = "\nfirst dialogue that differs: " + std::to_string(first) + ", answers:\n" + inputs[first] +
                "its output here:\n" +
                out.substr(static_cast<std::size_t>(starts[first]),
                           static_cast<std::size_t>(starts[first + 1] - starts[first]));
    }
    ADD_FAILURE() << "the output of " << inputs.size() << " dialogues hashes to " << hex(hash) << ", not "
                  << hex(expectedHash) << where << saved;
}

}  // namespace
