// The window's side of the page, linked into the program with --js-library
// and called by browser_window.cpp. The page provides, on the Module object:
//   showWindow(): the viewer is about to draw into the canvas;
//   room(): {width, height}, the largest canvas the page has room for, in
//     CSS pixels;
//   describePicture(width, height, legs): what the window shows, for the
//     canvas's text alternative.

mergeInto(LibraryManager.library, {
  // Emscripten's Browser.init, which GLUT's window runs, only sets up what
  // this program never uses (pointer lock, preloading of images and sounds)
  // and leaves four listeners on the document that nothing ever removes;
  // marked as done, it is skipped, and a program that ends leaves the page
  // as it found it.
  bilijarShowWindow__deps: ['$Browser'],
  bilijarShowWindow: function () {
    Browser.initted = true;
    Module["showWindow"]();
  },

  // Whether the browser has WebGL at all (switched off, some engines take
  // its very names away).
  bilijarHasWebGL: function () {
    return typeof WebGLRenderingContext !== 'undefined';
  },

  bilijarDescribePicture: function (width, height, legs) {
    Module["describePicture"](width, height, legs);
  },

  bilijarRoomWidth: function () {
    return Module["room"]()["width"];
  },

  bilijarRoomHeight: function () {
    return Module["room"]()["height"];
  },
});
