// Writes the window tests' table of scenes (window/window_cases.cpp) as
// JSON to the file named by the first argument, so that the browser tests
// check the canvas against the very table that the X window tests use.

#include <cstdio>
#include <string>

#include "window_cases.h"

namespace {

std::string quoted(const char* text) {
    std::string out = "\"";
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '\n') {
            out += "\\n";
        } else if (*c == '"' || *c == '\\') {
            out += '\\';
            out += *c;
        } else {
            out += *c;
        }
    }
    return out + "\"";
}

// Shortest text that reads back as the same double.
std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string point(PlanePoint p) {
    return "{\"x\": " + number(p.x) + ", \"y\": " + number(p.y) + "}";
}

std::string colour(PictureColour c) {
    return "[" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " + std::to_string(c.blue) + "]";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: window_cases_json OUTPUT.json\n", stderr);
        return 2;
    }
    const PictureColours& colours = pictureColours;
    std::string json = "{\"colours\": {\"background\": " + colour(colours.background) +
                       ", \"black\": " + colour(colours.black) + ", \"red\": " + colour(colours.red) +
                       ", \"blue\": " + colour(colours.blue) +
                       "},\n \"colourTolerance\": " + std::to_string(colourTolerance) +
                       ", \"pointReach\": " + number(pointReach) + ",\n \"cases\": [\n";
    bool first = true;
    for (const WindowCase& c : windowCases()) {
        json += first ? "" : ",\n";
        first = false;
        json += "  {\"name\": " + quoted(c.name) + ", \"input\": " + quoted(c.input) +
                ", \"accepted\": " + (c.accepted ? "true" : "false") + ", \"a\": " + number(c.a) +
                ", \"b\": " + number(c.b) + ", \"cx\": " + number(c.cx) + ", \"cy\": " + number(c.cy) +
                ", \"start\": " + point(c.start) + ", \"firstLegMiddle\": " + point(c.firstLegMiddle) +
                ", \"redSample\": " + point(c.redSample) +
                ", \"checkPath\": " + (c.checkPath ? "true" : "false") + ", \"shapes\": [";
        for (std::size_t i = 0; i < c.shapes.size(); ++i) {
            const Shape& s = c.shapes[i];
            json += (i > 0 ? ", " : "") + std::string("{\"width\": ") + std::to_string(s.width) +
                    ", \"height\": " + std::to_string(s.height) +
                    ", \"pixelsPerUnit\": " + number(s.pixelsPerUnit) + "}";
        }
        json += "]}";
    }
    json += "\n]}\n";
    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr || std::fputs(json.c_str(), out) < 0 || std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
