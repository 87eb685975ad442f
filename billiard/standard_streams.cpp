#include "standard_streams.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
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

#include <cerrno>

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
