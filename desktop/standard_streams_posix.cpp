// Standard streams on POSIX: a closed standard error reopened on /dev/null.
#include "standard_streams.h"

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
