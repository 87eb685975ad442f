#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

// Emscripten's dup2 reopens a file by its path, and an unlinked tmpfile has
// none, so the capture would be lost: there it goes to a named file, whose
// name is put into path for its removal.
inline std::FILE* openCaptureFile(std::string& path) {
#ifdef __EMSCRIPTEN__
    static int count = 0;
    path = "/tmp/stdout-capture-" + std::to_string(count++);
    return std::fopen(path.c_str(), "w+");
#else
    path.clear();
    return std::tmpfile();
#endif
}

// Sends standard output to a temporary file from construction until finish()
// or, should a test end early, destruction, and gives back what arrived
// there. Standard output is flushed at both ends, so the capture holds
// exactly what was printed while it lasted.
class StdoutCapture {
  public:
    StdoutCapture() : file_(openCaptureFile(path_)) {
        std::fflush(stdout);
        saved_ = dup(STDOUT_FILENO);
        if (file_ == nullptr || saved_ < 0 || dup2(fileno(file_), STDOUT_FILENO) < 0) {
            ADD_FAILURE() << "standard output cannot be captured";
        }
#ifdef _WIN32
        _setmode(STDOUT_FILENO, _O_BINARY);  // "\n" stays one byte, as in the program
#endif
    }
    ~StdoutCapture() {
        finish();
    }
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    // How many bytes have arrived so far.
    long size() {
        std::fflush(stdout);
        return static_cast<long>(lseek(STDOUT_FILENO, 0, SEEK_CUR));
    }

    // Puts standard output back and returns what was captured; empty when
    // called again.
    std::string finish() {
        std::fflush(stdout);
        if (saved_ >= 0) {
            dup2(saved_, STDOUT_FILENO);
            close(saved_);
            saved_ = -1;
        }
        std::string text;
        if (file_ != nullptr) {
            std::rewind(file_);
            char buffer[4096];
            for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file_)) > 0;) {
                text.append(buffer, n);
            }
            std::fclose(file_);
            file_ = nullptr;
            if (!path_.empty()) {
                std::remove(path_.c_str());
            }
        }
        return text;
    }

  private:
    std::string path_;  // the named file's, where there is one
    std::FILE* file_ = nullptr;
    int saved_ = -1;
};
