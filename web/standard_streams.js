// The program's standard streams in the page, and its exit, linked into the
// program with --js-library. The page provides, on the Module object:
//   readInput(maxBytes, deliver): calls deliver(bytes) with at most maxBytes
//     bytes of typed input (a Uint8Array) as soon as it has any, or with an
//     empty array once the input has ended;
//   writeOutput(fd, bytes): bytes written to descriptor 1 or 2, as written.
// A read waits for the page through Asyncify, so the program's own reading
// code stays as it is.

mergeInto(LibraryManager.library, {
  // The WebAssembly is inside this file as a data: URL, so that the site
  // runs opened from a file too. Where the browser decodes base64 itself,
  // it is decoded here, at once, and taken as it is; otherwise the runtime
  // fetches the URL, a round trip through the browser's loader on the
  // page's way to its first prompt.
  fd_read__postset: 'if (!wasmBinary && isDataURI(wasmBinaryFile) && typeof Uint8Array.fromBase64 == "function") {' +
    '  wasmBinary = Uint8Array.fromBase64(wasmBinaryFile.slice(dataURIPrefix.length));' +
    '}',
  fd_read__deps: ['$Asyncify'],
  fd_read: function (fd, iov, iovcnt, pnum) {
    if (fd !== 0) {
      return 8; // EBADF: the program reads no other file
    }
    return Asyncify.handleSleep(function (wakeUp) {
      var room = 0;
      for (var i = 0; i < iovcnt; i++) {
        room += HEAPU32[(iov + i * 8 + 4) >> 2];
      }
      Module["readInput"](room, function (bytes) {
        var done = 0;
        for (var j = 0; j < iovcnt && done < bytes.length; j++) {
          var ptr = HEAPU32[(iov + j * 8) >> 2];
          var len = HEAPU32[(iov + j * 8 + 4) >> 2];
          var part = bytes.subarray(done, done + len);
          HEAPU8.set(part, ptr);
          done += part.length;
        }
        HEAPU32[pnum >> 2] = done;
        wakeUp(0);
      });
    });
  },

  fd_write: function (fd, iov, iovcnt, pnum) {
    if (fd !== 1 && fd !== 2) {
      return 8; // EBADF: the program writes no other file
    }
    var written = 0;
    for (var i = 0; i < iovcnt; i++) {
      var ptr = HEAPU32[(iov + i * 8) >> 2];
      var len = HEAPU32[(iov + i * 8 + 4) >> 2];
      Module["writeOutput"](fd, HEAPU8.slice(ptr, ptr + len));
      written += len;
    }
    HEAPU32[pnum >> 2] = written;
    return 0;
  },

  // exit, from the program or from the page's close button, ends the
  // runtime: the at-exit handlers run (the program's own, and GLUT's, which
  // take its listeners off the page) and the page hears the status. The
  // call into main (ccall, for Asyncify) holds a keep-alive that Emscripten
  // 3.1.6 gives back only when main returns, never when main leaves for
  // GLUT's main loop ('unwind'), and while one is held Emscripten's exit
  // skips the runtime's exit. Nothing of this program needs its runtime
  // after exit, so exit ends it as emscripten_force_exit does.
  exit__deps: ['emscripten_force_exit'],
  exit: function (status) {
    _emscripten_force_exit(status);
  },
});
