// Standard streams in the page: all three are the page's console
// (standard_streams.js), always open and taking bytes as they are written,
// so there is nothing to ready.
#include "standard_streams.h"

void prepareStandardStreams() {}
