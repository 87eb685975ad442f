// The page around bilijar: the program's console (standard output as it is
// written, standard error set apart, a line of typed input that goes to
// standard input on Enter) and, after the trace, its window, a canvas with a
// title bar, a close button and a resize handle. Every run is a fresh
// program (createBilijar, from bilijar.js) with a fresh scene.
//
// What a test or a measurement reads is kept in window.bilijarPage.run:
// stdout (the bytes written to standard output), stderr (the text written
// to standard error), status (the exit status, once the program has ended;
// -1 for a program that could not be loaded),
// and the times of the first prompt, the last answer and the first frame;
// typed and inputEnded say what was typed (each line with its newline, each
// piece sent by Ctrl-D without) and whether the input was ended.
//
// A link to the page whose fragment is #v1: and the base64url of the UTF-8
// JSON {"typed": [...], "end": true|false} replays those answers in a fresh
// program, each as the program waits for input, echoed as typed.
//
// The canvas has devicePixelRatio pixels for each CSS pixel, so the picture
// is as sharp as the screen; the window's size, as the page and the user
// see it, is in CSS pixels (run.size).
(function () {
  'use strict';

  var consoleView = document.getElementById('console');
  var output = document.getElementById('output');
  var input = document.getElementById('input');
  var statusLine = document.getElementById('status');
  var frame = document.getElementById('window');
  var canvasSlot = document.getElementById('canvas-slot');
  var closeButton = document.getElementById('close');
  var resizeHandle = document.getElementById('resize-handle');
  var newRunButton = document.getElementById('new-run');
  var endInputButton = document.getElementById('end-input');
  var copyLinkButton = document.getElementById('copy-link');
  var saveOutputButton = document.getElementById('save-output');
  var savePictureButton = document.getElementById('save-picture');
  var toolNote = document.getElementById('tool-note');
  var linkRow = document.getElementById('link-row');
  var linkView = document.getElementById('link');

  var minimumSize = { width: 40, height: 30 };
  // The window's frame around the canvas (borders, title bar, the handle's
  // row), as page.css draws it; computed values, so a hidden frame has them
  // too.
  function frameChrome() {
    var outer = getComputedStyle(frame);
    var title = getComputedStyle(frame.querySelector('.title-bar'));
    var sum = function (style, names) {
      return names.reduce(function (total, name) {
        return total + (parseFloat(style.getPropertyValue(name)) || 0);
      }, 0);
    };
    return {
      width: sum(outer, ['border-left-width', 'border-right-width', 'padding-left', 'padding-right']),
      height: sum(outer, ['border-top-width', 'border-bottom-width', 'padding-top', 'padding-bottom']) +
        sum(title, ['height'])
    };
  }
  var encoder = new TextEncoder();
  var page = { run: null };
  window.bilijarPage = page;

  // Text at the end of the console, in its own colour: 'stdout', 'stderr',
  // 'echo' (the typed answers; 'echo replayed' for those a link typed) or
  // 'note' (the page's own words). Runs of
  // the same kind share one text node. A long trace comes as hundreds of
  // writes: they are gathered and shown once per animation frame (and at
  // once when the program waits for input or ends), so that the page lays
  // itself out once, not once per write.
  var lastKind = null;
  var lastText = null;
  var unshown = [];
  var showScheduled = false;
  function show(kind, text) {
    if (text === '') {
      return;
    }
    var last = unshown[unshown.length - 1];
    if (last && last.kind === kind) {
      last.text += text;
    } else {
      unshown.push({ kind: kind, text: text });
    }
    if (!showScheduled) {
      showScheduled = true;
      requestAnimationFrame(showNow);
    }
  }

  // The console follows its end unless the user has scrolled back to read.
  function showNow() {
    showScheduled = false;
    if (unshown.length === 0) {
      return;
    }
    var atEnd = consoleView.scrollTop + consoleView.clientHeight >= consoleView.scrollHeight - 4;
    unshown.forEach(function (part) {
      if (part.kind !== lastKind) {
        var span = document.createElement('span');
        span.className = part.kind;
        if (part.kind === 'echo') {
          // The reader heard the answer as it was typed.
          span.setAttribute('aria-hidden', 'true');
        }
        lastText = document.createTextNode('');
        span.appendChild(lastText);
        output.appendChild(span);
        lastKind = part.kind;
      }
      lastText.appendData(part.text);
    });
    unshown = [];
    if (atEnd) {
      consoleView.scrollTop = consoleView.scrollHeight;
    }
  }

  function clearConsole() {
    unshown = [];
    output.textContent = '';
    lastKind = null;
    lastText = null;
  }

  // The text the console ends with, shown or not.
  function endsLine() {
    var last = unshown.length > 0 ? unshown[unshown.length - 1].text : lastText && lastText.data;
    return !last || last.slice(-1) === '\n';
  }

  // glutMainLoop leaves main by throwing 'unwind', and exit by throwing
  // ExitStatus: both are the program's normal ways of stopping, not errors.
  function isNormalStop(reason) {
    return reason === 'unwind' || (reason && reason.name === 'ExitStatus');
  }

  // Calls into the run's program. Anything else that it throws is a fault
  // that ends the run.
  function callProgram(run, action) {
    try {
      action();
    } catch (e) {
      if (!isNormalStop(e)) {
        failed(run, e);
      }
    }
    keepCanvasSize(run);
  }

  // Standard input: typed bytes wait here until the program reads them.
  function readInput(run, maxBytes, deliver) {
    if (run.pending.length > 0 || run.inputEnded) {
      var bytes = run.pending.subarray(0, maxBytes);
      run.pending = run.pending.subarray(bytes.length);
      deliver(bytes);
    } else {
      run.waitingRead = { maxBytes: maxBytes, deliver: deliver };
      if (run === page.run) {
        showNow();  // the prompt, before the user answers it
        keepForOffline();
        if (run.replay) {
          setTimeout(function () {
            replayNext(run);
          });
        }
      }
    }
  }

  function feed(run, bytes, ended) {
    var joined = new Uint8Array(run.pending.length + bytes.length);
    joined.set(run.pending);
    joined.set(bytes, run.pending.length);
    run.pending = joined;
    run.inputEnded = run.inputEnded || ended;
    var read = run.waitingRead;
    if (read) {
      run.waitingRead = null;
      callProgram(run, function () {
        readInput(run, read.maxBytes, read.deliver);
      });
    }
  }

  // Typed text, echoed as a terminal echoes it, sent as it is, and kept for
  // the run's link. Text that a link types is read out, as nobody heard it
  // typed.
  function typeText(run, text, fromLink) {
    show(fromLink ? 'echo replayed' : 'echo', text);
    if (text.slice(-1) === '\n') {
      run.lastAnswerAt = performance.now();
    }
    if (!run.inputEnded) {
      run.typed.push(text);
    }
    feed(run, encoder.encode(text), false);
    showTools(run);
  }

  // A typed line, with its newline.
  function sendLine(text) {
    typeText(page.run, text + '\n');
  }

  function endInput() {
    feed(page.run, new Uint8Array(0), true);
    showTools(page.run);
  }

  // The line so far, without a newline, as a terminal's Ctrl-D sends it.
  function sendPartialLine() {
    typeText(page.run, input.value);
    input.value = '';
  }

  input.addEventListener('keydown', function (event) {
    if (event.isComposing || event.keyCode === 229) {
      return;  // the input method's own keys, Enter among them
    }
    if (event.key === 'Enter') {
      event.preventDefault();
      var text = input.value;
      input.value = '';
      sendLine(text);
    } else if (event.ctrlKey && !event.altKey && event.code === 'KeyD') {
      // The D key on any keyboard layout. As in a terminal: on an empty line
      // the end of the input, otherwise the line so far, without a newline.
      event.preventDefault();
      if (input.value === '') {
        endInput();
      } else {
        sendPartialLine();
      }
    }
  });

  // The same without a keyboard: what is typed goes as it is, and the
  // input ends.
  endInputButton.addEventListener('click', function () {
    if (input.value !== '') {
      sendPartialLine();
    }
    endInput();
    input.focus();
  });

  // Pasted lines answer one prompt each; text after the last line break
  // stays on the input line.
  input.addEventListener('paste', function (event) {
    var text = event.clipboardData ? event.clipboardData.getData('text/plain') : '';
    if (!/[\r\n]/.test(text)) {
      return;
    }
    event.preventDefault();
    var before = input.value.slice(0, input.selectionStart);
    var after = input.value.slice(input.selectionEnd);
    var lines = (before + text).split(/\r\n|\r|\n/);
    var rest = lines.pop();
    input.value = '';
    lines.forEach(sendLine);
    input.value = rest + after;
  });

  // GLUT's page-wide touch handler turns touches on the canvas into mouse
  // events, for programs that take the mouse; this one does not, and the
  // handler, passive on a window, cannot cancel the touches it asks to
  // cancel. Touches on the canvas stop here, before it (a capturing
  // listener added first runs first).
  ['touchstart', 'touchmove', 'touchend'].forEach(function (type) {
    window.addEventListener(type, function (event) {
      if (page.run && event.target === page.run.canvas) {
        event.stopImmediatePropagation();
      }
    }, { capture: true, passive: true });
  });

  consoleView.addEventListener('click', function () {
    if (!input.disabled && window.getSelection().isCollapsed) {
      input.focus();
    }
  });

  // The largest canvas the page has room for, as a desktop's screen bounds
  // its windows: the viewport's width right of the window's left edge and
  // its height, less the frame and a margin.
  var pageMargin = 16;
  function room() {
    var left = document.querySelector('main').getBoundingClientRect().left;
    var chrome = frameChrome();
    return {
      width: Math.max(minimumSize.width,
        Math.floor(document.documentElement.clientWidth - left - pageMargin - chrome.width)),
      height: Math.max(minimumSize.height, Math.floor(window.innerHeight - 2 * pageMargin - chrome.height))
    };
  }

  // A size the page has room for, and at least the smallest window.
  function fitted(width, height) {
    var most = room();
    return {
      width: Math.min(most.width, Math.max(minimumSize.width, width)),
      height: Math.min(most.height, Math.max(minimumSize.height, height))
    };
  }

  // The canvas's pixels for a size in CSS pixels.
  function pixels(size) {
    var ratio = window.devicePixelRatio || 1;
    return { width: Math.round(size.width * ratio), height: Math.round(size.height * ratio) };
  }

  // GLUT sets the canvas's pixel size and clears its CSS size; the canvas
  // fills its slot, whose size is the window's.
  function keepCanvasSize(run) {
    if (run === page.run && run.size) {
      canvasSlot.style.width = run.size.width + 'px';
      canvasSlot.style.height = run.size.height + 'px';
    }
  }

  // The canvas on whole pixels: between them a browser would resample the
  // picture, or move it by a pixel. The console's lines are not whole pixels
  // high, so the frame is moved by what the slot's place on the page lacks
  // to the next whole pixel (a relative offset: nothing else moves): a whole
  // CSS pixel where the ratio is whole (some engines snap to those), else a
  // whole device pixel.
  function alignCanvas() {
    if (frame.hidden) {
      return;
    }
    var ratio = window.devicePixelRatio || 1;
    var step = Number.isInteger(ratio) ? 1 : 1 / ratio;
    frame.style.left = frame.style.top = '';
    var place = canvasSlot.getBoundingClientRect();
    var lack = function (at) {
      return Math.ceil(at / step - 1e-6) * step - at;
    };
    frame.style.left = lack(place.left + window.scrollX) + 'px';
    frame.style.top = lack(place.top + window.scrollY) + 'px';
  }
  if (window.ResizeObserver) {
    new ResizeObserver(alignCanvas).observe(consoleView);
  }

  // The program's window, shown when the viewer starts.
  function showWindow(run) {
    var ratio = window.devicePixelRatio || 1;
    run.size = { width: run.canvas.width / ratio, height: run.canvas.height / ratio };
    keepCanvasSize(run);
    frame.hidden = false;
    alignCanvas();
    frame.scrollIntoView({ block: 'nearest' });
    showTools(run);
    // Whatever the sender typed after the last answer the program read.
    if (run.replay) {
      setTimeout(function () {
        while (run.replay) {
          replayNext(run);
        }
      });
    }
    // GLUT asks for its first frame in this same task; an animation frame
    // asked for after this task runs after the frame's drawing.
    Promise.resolve().then(function () {
      requestAnimationFrame(function () {
        if (run.firstFrameAt === null) {
          run.firstFrameAt = performance.now();
        }
      });
    });
  }

  closeButton.addEventListener('click', function () {
    var run = page.run;
    if (run && run.program && run.status === null) {
      stopProgram(run);  // as the desktop's window manager's close
    }
  });

  // Dragging the handle resizes the canvas; the program reshapes and
  // redraws it, at most once per animation frame.
  var drag = null;
  resizeHandle.addEventListener('pointerdown', function (event) {
    if (!page.run || !page.run.size || page.run.status !== null) {
      return;
    }
    event.preventDefault();
    resizeHandle.setPointerCapture(event.pointerId);
    var size = page.run.size;
    drag = { x: event.clientX, y: event.clientY, width: size.width, height: size.height, next: null };
  });
  resizeHandle.addEventListener('pointermove', function (event) {
    if (!drag) {
      return;
    }
    var pending = drag.next;
    drag.next = fitted(Math.round(drag.width + event.clientX - drag.x),
      Math.round(drag.height + event.clientY - drag.y));
    if (!pending) {
      var run = page.run;
      var current = drag;
      requestAnimationFrame(function () {
        resizeWindow(run, current.next.width, current.next.height);
        current.next = null;
      });
    }
  });
  function endDrag() {
    drag = null;
  }
  resizeHandle.addEventListener('pointerup', endDrag);
  resizeHandle.addEventListener('pointercancel', endDrag);

  // From the keyboard: the arrow keys move the handle by 10 pixels, by 50
  // with Shift.
  var arrowSteps = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
  resizeHandle.addEventListener('keydown', function (event) {
    var step = arrowSteps[event.key];
    if (!step || !page.run || !page.run.size || page.run.status !== null) {
      return;
    }
    event.preventDefault();
    var by = event.shiftKey ? 50 : 10;
    var size = fitted(page.run.size.width + step[0] * by, page.run.size.height + step[1] * by);
    resizeWindow(page.run, size.width, size.height);
  });

  // A page made narrower or lower cuts the window down to its new room.
  window.addEventListener('resize', function () {
    alignCanvas();
    var run = page.run;
    if (run && run.status === null && !frame.hidden) {
      var size = fitted(run.size.width, run.size.height);
      if (size.width !== run.size.width || size.height !== run.size.height) {
        resizeWindow(run, size.width, size.height);
      }
    }
  });

  // A screen of another pixel density (the window moved to another monitor,
  // or the page zoomed): the canvas keeps its CSS size with the new number
  // of pixels.
  function watchPixelRatio() {
    window.matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)')
      .addEventListener('change', function () {
        watchPixelRatio();
        alignCanvas();
        var run = page.run;
        if (run && run.size && run.status === null && !frame.hidden) {
          resizeWindow(run, run.size.width, run.size.height);
        }
      }, { once: true });
  }
  watchPixelRatio();

  // The window becomes width by height CSS pixels.
  function resizeWindow(run, width, height) {
    if (run === page.run && run.status === null) {
      run.size = { width: width, height: height };
      var size = pixels(run.size);
      callProgram(run, function () {
        run.program._bilijarResizeWindow(size.width, size.height);
      });
    }
  }

  // The program has ended with status (through exit, its runtime's exit
  // done): its WebGL context goes now rather than when the browser gets
  // round to it, and the page lets go of the program.
  function ended(run, status) {
    if (run.status !== null) {
      return;
    }
    run.status = status;
    var program = run.program;
    run.program = null;
    var context = program && program.ctx;
    var loseContext = context && context.getExtension('WEBGL_lose_context');
    if (loseContext) {
      loseContext.loseContext();
    }
    if (run !== page.run) {
      return;
    }
    input.disabled = true;
    endInputButton.disabled = true;
    frame.hidden = true;
    showTools(run);
    show('note', (endsLine() ? '' : '\n') + '[' + (run.fault ? 'Program je prekinut' : 'Kraj rada programa') +
      ', izlazni status ' + status + '.]\n');
    showNow();
    statusLine.textContent = 'Program je zavrsio rad (izlazni status ' + status + ').';
    // The input and the window are gone: the next thing to do is a new run.
    newRunButton.focus();
  }

  // Ends a program as closing its window does: exit(0).
  function stopProgram(run) {
    callProgram(run, function () {
      run.program._exit(0);
    });
  }

  // A fault in the program or in its runtime (an abort, memory exhausted, an
  // error thrown): it is shown as the program's standard error, and the
  // program ends with status 1, its runtime's exit done as far as it can be.
  function failed(run, reason) {
    if (run.status !== null) {
      return;
    }
    run.fault = true;
    if (run === page.run) {
      show('stderr', (endsLine() ? '' : '\n') + 'Greska u programu: ' + reason + '\n');
    }
    try {
      if (run.program) {
        run.program._exit(1);
      }
    } catch (e) {
      // an exit that throws ExitStatus has done its work; one that fails
      // cannot be helped, and the run ends all the same
    }
    ended(run, 1);
  }

  // What the program is given: its canvas, its standard streams, the page's
  // side of its window, and where its end and its runtime's notes go.
  function setUp(run) {
    var decoders = { 1: new TextDecoder(), 2: new TextDecoder() };
    return {
      canvas: run.canvas,
      readInput: function (maxBytes, deliver) {
        readInput(run, maxBytes, deliver);
      },
      writeOutput: function (fd, bytes) {
        if (run !== page.run) {
          return;
        }
        var text = decoders[fd].decode(bytes, { stream: true });
        if (fd === 1) {
          for (var i = 0; i < bytes.length; i++) {
            run.stdout.push(bytes[i]);
          }
          if (run.firstPromptAt === null) {
            run.firstPromptAt = performance.now();
            showTools(run);
          }
          show('stdout', text);
        } else {
          run.stderr += text;
          show('stderr', text);
        }
      },
      showWindow: function () {
        showWindow(run);
      },
      room: room,
      describePicture: function (width, height, legs) {
        canvasSlot.setAttribute('aria-label', width < 0
          ? 'Prikaz bez stola.'
          : 'Sto ' + Math.round(width) + ' x ' + Math.round(height) + ' i putanja kugle, broj deonica: ' + legs +
            '.');
      },
      // Every end of the program, through exit, passes here, after its
      // runtime's exit.
      quit: function (status, toThrow) {
        if (isNormalStop(toThrow)) {
          ended(run, status);
        } else {
          failed(run, toThrow);  // a fault in one of GLUT's callbacks
        }
        throw toThrow;
      },
      onAbort: function (what) {
        // The runtime throws on after this; the run ends once it has.
        setTimeout(function () {
          failed(run, 'abort(' + what + ')');
        });
      },
      // The runtime's own notes go to the browser's console, not to the
      // program's standard streams. The legacy GL emulation's two notes at
      // every start (that it is limited, which this program's few calls
      // are not troubled by) are no news to anyone.
      print: function (text) {
        console.log(text);
      },
      printErr: function (text) {
        if (!/^WARNING: using emscripten GL (immediate mode )?emulation/.test(text)) {
          console.warn(text);
        }
      }
    };
  }

  // A fresh program with a fresh canvas, console and scene; with answers to
  // type into it if a link brought them (link: what readLink gives).
  function startRun(link) {
    var run = {
      program: null,
      canvas: document.createElement('canvas'),
      size: null,
      fault: false,
      stdout: [],
      stderr: '',
      status: null,
      pending: new Uint8Array(0),
      inputEnded: false,
      typed: [],
      replay: link && link.replay ? { typed: link.replay.typed.slice(), end: link.replay.end } : null,
      waitingRead: null,
      firstPromptAt: null,
      lastAnswerAt: null,
      firstFrameAt: null
    };
    var previous = page.run;
    page.run = run;
    // A run still going is ended as its window's close would end it, so
    // that its program, its GLUT listeners and its GL context go with it.
    if (previous && previous.status === null && previous.program) {
      stopProgram(previous);
    }
    clearConsole();
    if (link && link.note) {
      show('note', link.note);
    }
    linkRow.hidden = true;
    toolNote.textContent = '';
    frame.hidden = true;
    showTools(run);
    canvasSlot.replaceChildren(run.canvas);
    canvasSlot.removeAttribute('aria-label');
    input.disabled = false;
    endInputButton.disabled = false;
    input.value = '';
    statusLine.textContent = 'Program se ucitava.';
    input.focus();

    // A program that cannot be loaded (no bilijar.js, no WebAssembly) fails
    // here or in the promise: either way the run ends as not started.
    var loading;
    try {
      loading = createBilijar(setUp(run));
    } catch (e) {
      loading = Promise.reject(e);
    }
    loading.then(function (program) {
      run.program = program;
      if (run !== page.run) {
        stopProgram(run);  // a newer run started while this one loaded
        return;
      }
      statusLine.textContent = run.replay ? 'Program radi; odgovori iz veze se unose.' : 'Program radi.';
      // argv as a C program gets it: its name, then a null pointer.
      var name = encoder.encode('bilijar\0');
      var argv = program._malloc(8 + name.length);
      program.HEAPU8.set(name, argv + 8);
      program.HEAPU32[argv >> 2] = argv + 8;
      program.HEAPU32[(argv >> 2) + 1] = 0;
      // main's result, once it returns, goes to exit, as in the C runtime.
      // A main that went on to the window's main loop ends in 'unwind'.
      program.ccall('main', 'number', ['number', 'number'], [1, argv], { async: true })
        .then(function (status) {
          callProgram(run, function () {
            program._exit(status);
          });
        }, function (reason) {
          if (!isNormalStop(reason)) {
            failed(run, reason);
          }
        });
    }, function (reason) {
      if (run !== page.run) {
        return;
      }
      show('stderr', 'Program nije mogao da se pokrene: ' + reason + '\n');
      showNow();
      run.status = -1;
      input.disabled = true;
      endInputButton.disabled = true;
      statusLine.textContent = 'Program nije pokrenut.';
      newRunButton.focus();
    });
  }

  // The link's next answer, once the program waits for one; then the end of
  // the input, if the sender ended it.
  function replayNext(run) {
    var replay = run.replay;
    if (!replay || run !== page.run || run.status !== null) {
      run.replay = null;
      return;
    }
    if (replay.typed.length > 0) {
      typeText(run, replay.typed.shift(), true);
    } else {
      run.replay = null;
      if (replay.end) {
        endInput();
      }
      if (run.status === null) {
        statusLine.textContent = 'Program radi.';
      }
    }
  }

  // The run's link: the page's address with the typed answers in its
  // fragment (see the top of this file); null if it would be longer than a
  // link the page takes.
  var linkPrefix = '#v1:';
  var linkLimit = 4096;
  function linkTo(run) {
    var json = JSON.stringify({ typed: run.typed, end: run.inputEnded });
    var binary = Array.prototype.map.call(encoder.encode(json), function (byte) {
      return String.fromCharCode(byte);
    }).join('');
    var fragment = linkPrefix + btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
    return fragment.length > linkLimit ? null : location.href.replace(/#.*$/, '') + fragment;
  }

  // The answers in the page's fragment: null for none, {replay: {typed,
  // end}} for a link of ours, {note} for any other fragment, which is not
  // read further (nothing of it is shown).
  function readLink() {
    var fragment = location.hash;
    if (fragment === '' || fragment === '#') {
      return null;
    }
    var refused = { note: '[Veza nije ispravna ili je duza od 4 kB: odgovori iz nje nisu uneti, ' +
      'program radi kao obicno.]\n' };
    if (fragment.length > linkLimit || fragment.indexOf(linkPrefix) !== 0 ||
        !/^[A-Za-z0-9_-]*$/.test(fragment.slice(linkPrefix.length))) {
      return refused;
    }
    try {
      var binary = atob(fragment.slice(linkPrefix.length).replace(/-/g, '+').replace(/_/g, '/'));
      var bytes = Uint8Array.from(binary, function (c) {
        return c.charCodeAt(0);
      });
      var answers = JSON.parse(new TextDecoder('utf-8', { fatal: true }).decode(bytes));
      // Each piece as the page types it: not empty, a newline only at its end.
      var typedWell = answers && Array.isArray(answers.typed) && answers.typed.every(function (text) {
        return typeof text === 'string' && text !== '' &&
          (text.indexOf('\n') === -1 || text.indexOf('\n') === text.length - 1);
      });
      if (typedWell && typeof answers.end === 'boolean') {
        return { replay: { typed: answers.typed, end: answers.end } };
      }
    } catch (e) {
      // not base64, not UTF-8 or not JSON: not one of ours
    }
    return refused;
  }

  // The buttons that keep the run: a link once something is typed, the
  // standard output once there is any, the picture while the window shows.
  function showTools(run) {
    if (run !== page.run) {
      return;
    }
    copyLinkButton.disabled = run.typed.length === 0 && !run.inputEnded;
    saveOutputButton.disabled = run.stdout.length === 0;
    savePictureButton.disabled = frame.hidden || run.status !== null;
  }

  copyLinkButton.addEventListener('click', function () {
    var link = linkTo(page.run);
    if (!link) {
      linkRow.hidden = true;
      toolNote.textContent = 'Odgovori su predugi za vezu (vise od 4 kB).';
      return;
    }
    linkView.value = link;
    linkRow.hidden = false;
    var copied = navigator.clipboard && navigator.clipboard.writeText
      ? navigator.clipboard.writeText(link) : Promise.reject(new Error('no clipboard'));
    copied.then(function () {
      toolNote.textContent = 'Veza je kopirana.';
    }, function () {
      toolNote.textContent = 'Kopirajte vezu iz polja ispod.';
      linkView.focus();
      linkView.select();
    });
  });

  linkView.addEventListener('focus', function () {
    linkView.select();
  });

  // A file to save, as the browser saves a download.
  function save(blob, name) {
    var url = URL.createObjectURL(blob);
    var anchor = document.createElement('a');
    anchor.href = url;
    anchor.download = name;
    document.body.appendChild(anchor);
    anchor.click();
    anchor.remove();
    // Some browsers read the file only after this task.
    setTimeout(function () {
      URL.revokeObjectURL(url);
    }, 60000);
  }

  // Exactly the bytes of the program's standard output, as
  // `bilijar > trag.txt` keeps them.
  saveOutputButton.addEventListener('click', function () {
    save(new Blob([Uint8Array.from(page.run.stdout)], { type: 'text/plain' }), 'trag.txt');
  });

  // The canvas at its pixel size. WebGL keeps a picture only until it is
  // shown: the program draws it again (a reshape to the same size), and the
  // PNG is taken in the same animation frame, after the drawing.
  savePictureButton.addEventListener('click', function () {
    var run = page.run;
    if (!run.size || run.status !== null || frame.hidden) {
      return;
    }
    resizeWindow(run, run.size.width, run.size.height);
    requestAnimationFrame(function () {
      run.canvas.toBlob(function (blob) {
        if (blob) {
          save(blob, 'bilijar.png');
        }
      }, 'image/png');
    });
  });

  // Offline, and installable: the manifest and the service worker, which
  // exist only for a page from a server (opened as a file, the page has its
  // files at hand). Both wait for the first prompt: the worker's install
  // fetches the whole site, and the program's start comes first.
  var offlineAsked = false;
  function keepForOffline() {
    if (offlineAsked || !/^https?:$/.test(location.protocol)) {
      return;
    }
    offlineAsked = true;
    var manifest = document.createElement('link');
    manifest.rel = 'manifest';
    manifest.href = 'manifest.webmanifest';
    document.head.appendChild(manifest);
    if ('serviceWorker' in navigator) {
      navigator.serviceWorker.register('service-worker.js').catch(function () {
        // the page works as it is, only not offline
      });
    }
  }

  // A new run types nothing of the link it came from; a link opened in the
  // page replays its answers.
  newRunButton.addEventListener('click', function () {
    if (location.hash !== '') {
      try {
        history.replaceState(null, '', location.href.replace(/#.*$/, ''));
      } catch (e) {
        // some browsers refuse it for a file: the address keeps its fragment
      }
    }
    startRun(null);
  });
  window.addEventListener('hashchange', function () {
    startRun(readLink());
  });
  startRun(readLink());
}());
