#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>

// A temporary stream holding text, read from its start.
struct Input {
    explicit Input(const std::string& text) : file(std::tmpfile()) {
        if (file == nullptr) {  // GoogleTest fails the test with this
            throw std::runtime_error("no temporary file for the input");
        }
        std::fwrite(text.data(), 1, text.size(), file);
        std::rewind(file);
    }
    ~Input() { std::fclose(file); }
    std::FILE* file;
};
