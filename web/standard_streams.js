// The program's standard streams and window in the page, linked into the
// program with --js-library. The page provides, on the Module object:
//   readInput(maxBytes, deliver): calls deliver(bytes) with at most maxBytes
//     bytes of typed input (a Uint8Array) as soon as it has any, or with an
//     empty array once the input has ended;
//   writeOutput(fd, bytes): bytes written to descriptor 1 or 2, as written;
//   showWindow(): the viewer is about to draw into the canvas;
//   room(): {width, height}, the largest canvas the page has room for.
// A read waits for the page through Asyncify, so the program's own reading
// code stays as it is.

mergeInto(LibraryManager.library, {
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
      Module.readInput(room, function (bytes) {
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
      Module.writeOutput(fd, HEAPU8.slice(ptr, ptr + len));
      written += len;
    }
    HEAPU32[pnum >> 2] = written;
    return 0;
  },

  bilijarShowWindow: function () {
    Module.showWindow();
  },

  bilijarRoomWidth: function () {
    return Module.room().width;
  },

  bilijarRoomHeight: function () {
    return Module.room().height;
  },
});
