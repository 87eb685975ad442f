#include "binary_streams.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>

void useBinaryStreams() {
    // A stream without a handle (a closed standard output) has no mode to
    // set; its writes fail later and are reported then.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}
#else
void useBinaryStreams() {}
#endif
