#include "standard_streams.h"

#include <cerrno>
#include <cstdio>

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
