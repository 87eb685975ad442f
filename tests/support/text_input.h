#pragma once

#include <cstdio>
#include <string>

// A temporary stream holding text, read from its start.
struct Input {
    explicit Input(const std::string& text) : file(std::tmpfile()) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::rewind(file);
    }
    ~Input() { std::fclose(file); }
    std::FILE* file;
};
