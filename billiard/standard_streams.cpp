#include "standard_streams.h"

#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <initializer_list>

void prepareStandardStreams() {
    // A stream without a handle (a closed standard output) has no mode to
    // set, and the C runtime may end a program that asks for one; its writes
    // fail later and are reported then.
    for (std::FILE* stream : {stdin, stdout, stderr}) {
        if (_fileno(stream) >= 0) {
            _setmode(_fileno(stream), _O_BINARY);
        }
    }
}
#else
#include <fcntl.h>
#include <unistd.h>

void prepareStandardStreams() {
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

int flushOutput(std::FILE* out) {
    errno = 0;
    const bool flushed = std::fflush(out) == 0;
    if (flushed && !std::ferror(out)) {
        return 0;
    }
    // Only a failing fflush names its cause; an error flag left by an earlier
    // write has lost it.
    return flushed || errno == 0 ? EIO : errno;
}
