#pragma once

#include <cstdio>

// Readies standard input, output and error before anything is read or
// written, so that the trace is the same bytes everywhere and no library can
// take a closed descriptor for its own. Each platform has its own (desktop/,
// web/):
// - Windows: all three in binary mode. The C runtime's text mode would write
//   "\n" as "\r\n" and end the input at a Ctrl-Z byte (0x1A).
// - POSIX: a closed standard error is opened on /dev/null, where its
//   messages would have gone anyway. Left closed, descriptor 2 would go to
//   the next file opened, the X connection, and a library's message on
//   stderr would then corrupt the X protocol and leave the program waiting
//   forever. Closed standard input and output stay closed: the dialogue
//   reports them and ends the program before anything else is opened.
// - The page: nothing; its console is all three streams.
void prepareStandardStreams();

// Writes out what out still holds. Returns 0 when everything written to out
// so far has arrived; otherwise the errno value naming the cause (EIO when an
// earlier write failed and its cause is gone).
int flushOutput(std::FILE* out);
