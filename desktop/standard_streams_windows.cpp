// Standard streams on Windows: binary mode for all three.
#include "standard_streams.h"

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
