#pragma once

// Puts standard input, output and error into binary mode where the C
// runtime has a text mode (Windows), so that the trace is the same bytes as
// everywhere: otherwise "\n" is written as "\r\n" and a Ctrl-Z byte (0x1A)
// ends the input. Elsewhere it does nothing. Call it before anything is read
// or written.
void useBinaryStreams();
