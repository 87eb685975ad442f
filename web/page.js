// The page around bilijar: the program's console (standard output as it is
// written, standard error set apart, a line of typed input that goes to
// standard input on Enter) and, after the trace, its window, a canvas with a
// title bar, a close button and a resize handle. Every run is a fresh
// program (createBilijar, from bilijar.js) with a fresh scene.
//
// What a test or a measurement reads is kept in window.bilijarPage.run:
// stdout (the bytes written to standard output), stderr (the text written
// to standard error), status (the exit status, once the program has ended),
// and the times of the first prompt, the last answer and the first frame.
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

  var minimumSize = { width: 40, height: 30 };
  // The window's frame around the canvas: borders, title bar, handle row.
  var frameChrome = { width: 2, height: 2 + 26 + 12 };
  var encoder = new TextEncoder();
  var page = { run: null };
  window.bilijarPage = page;

  // Text at the end of the console, in its own colour: 'stdout', 'stderr',
  // 'echo' (the typed answers) or 'note' (the page's own words). Runs of
  // the same kind share one text node.
  var lastKind = null;
  var lastText = null;
  function show(kind, text) {
    if (text === '') {
      return;
    }
    if (kind !== lastKind) {
      var span = document.createElement('span');
      span.className = kind;
      lastText = document.createTextNode('');
      span.appendChild(lastText);
      output.appendChild(span);
      lastKind = kind;
    }
    lastText.appendData(text);
    consoleView.scrollTop = consoleView.scrollHeight;
  }

  function clearConsole() {
    output.textContent = '';
    lastKind = null;
    lastText = null;
  }

  // Calls into the program. glutMainLoop leaves main by throwing 'unwind',
  // and exit by throwing ExitStatus: both are the program's normal ways of
  // stopping, not errors.
  function callProgram(action) {
    try {
      action();
    } catch (e) {
      if (e !== 'unwind' && !(e && e.name === 'ExitStatus')) {
        throw e;
      }
    }
  }

  // Standard input: typed bytes wait here until the program reads them.
  function readInput(run, maxBytes, deliver) {
    if (run.pending.length > 0 || run.inputEnded) {
      var bytes = run.pending.subarray(0, maxBytes);
      run.pending = run.pending.subarray(bytes.length);
      deliver(bytes);
    } else {
      run.waitingRead = { maxBytes: maxBytes, deliver: deliver };
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
      callProgram(function () {
        readInput(run, read.maxBytes, read.deliver);
      });
    }
  }

  // A typed line: echoed as a terminal echoes it, then sent with its
  // newline.
  function sendLine(text) {
    var run = page.run;
    show('echo', text + '\n');
    run.lastAnswerAt = performance.now();
    feed(run, encoder.encode(text + '\n'), false);
  }

  function endInput() {
    feed(page.run, new Uint8Array(0), true);
  }

  input.addEventListener('keydown', function (event) {
    if (event.key === 'Enter') {
      event.preventDefault();
      var text = input.value;
      input.value = '';
      sendLine(text);
    } else if (event.ctrlKey && !event.altKey && (event.key === 'd' || event.key === 'D')) {
      // As in a terminal: on an empty line the end of the input, otherwise
      // the line so far, without a newline.
      event.preventDefault();
      if (input.value === '') {
        endInput();
      } else {
        var run = page.run;
        show('echo', input.value);
        feed(run, encoder.encode(input.value), false);
        input.value = '';
      }
    }
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
    return {
      width: Math.max(minimumSize.width,
        Math.floor(document.documentElement.clientWidth - left - pageMargin - frameChrome.width)),
      height: Math.max(minimumSize.height, Math.floor(window.innerHeight - 2 * pageMargin - frameChrome.height))
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

  // The program's window, shown when the viewer starts.
  function showWindow(run) {
    frame.hidden = false;
    frame.scrollIntoView({ block: 'nearest' });
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
      stopProgram(run.program);  // as the desktop's window manager's close
    }
  });

  // Dragging the handle resizes the canvas; the program reshapes and
  // redraws it, at most once per animation frame.
  var drag = null;
  resizeHandle.addEventListener('pointerdown', function (event) {
    var canvas = page.run && page.run.canvas;
    if (!canvas || page.run.status !== null) {
      return;
    }
    event.preventDefault();
    resizeHandle.setPointerCapture(event.pointerId);
    drag = { x: event.clientX, y: event.clientY, width: canvas.width, height: canvas.height, next: null };
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
    var canvas = page.run && page.run.canvas;
    if (!step || !canvas || page.run.status !== null) {
      return;
    }
    event.preventDefault();
    var by = event.shiftKey ? 50 : 10;
    var size = fitted(canvas.width + step[0] * by, canvas.height + step[1] * by);
    resizeWindow(page.run, size.width, size.height);
  });

  // A page made narrower or lower cuts the window down to its new room.
  window.addEventListener('resize', function () {
    var run = page.run;
    if (run && run.status === null && !frame.hidden) {
      var size = fitted(run.canvas.width, run.canvas.height);
      if (size.width !== run.canvas.width || size.height !== run.canvas.height) {
        resizeWindow(run, size.width, size.height);
      }
    }
  });

  function resizeWindow(run, width, height) {
    if (run === page.run && run.status === null) {
      callProgram(function () {
        run.program._bilijarResizeWindow(width, height);
      });
    }
  }

  function ended(run, status) {
    if (run !== page.run || run.status !== null) {
      return;
    }
    run.status = status;
    input.disabled = true;
    frame.hidden = true;
    show('note', (lastKind === null || lastText.data.slice(-1) === '\n' ? '' : '\n') +
      '[Kraj rada programa, izlazni status ' + status + '.]\n');
    statusLine.textContent = 'Program je zavrsio rad (izlazni status ' + status + ').';
    // The input and the window are gone: the next thing to do is a new run.
    newRunButton.focus();
  }

  // Ends a program as closing its window does: exit(0).
  function stopProgram(program) {
    callProgram(function () {
      program._exit(0);
    });
  }

  // A fresh program with a fresh canvas, console and scene.
  function startRun() {
    var run = {
      program: null,
      canvas: document.createElement('canvas'),
      stdout: [],
      stderr: '',
      status: null,
      pending: new Uint8Array(0),
      inputEnded: false,
      waitingRead: null,
      firstPromptAt: null,
      lastAnswerAt: null,
      firstFrameAt: null
    };
    var decoders = { 1: new TextDecoder(), 2: new TextDecoder() };
    var previous = page.run;
    page.run = run;
    // A run still going is ended as its window's close would end it, so
    // that its program, its GLUT listeners and its GL context go with it.
    if (previous && previous.status === null && previous.program) {
      stopProgram(previous.program);
    }
    clearConsole();
    frame.hidden = true;
    canvasSlot.replaceChildren(run.canvas);
    input.disabled = false;
    input.value = '';
    statusLine.textContent = 'Program radi.';
    input.focus();

    createBilijar({
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
      // Every end of the program, through exit, passes here (Emscripten's
      // onExit is not called while an Asyncify call is still counted).
      quit: function (status, toThrow) {
        ended(run, status);
        throw toThrow;
      },
      // The runtime's own notes go to the browser's console, not to the
      // program's standard streams.
      print: function (text) {
        console.log(text);
      },
      printErr: function (text) {
        console.warn(text);
      }
    }).then(function (program) {
      run.program = program;
      if (run !== page.run) {
        stopProgram(program);  // a newer run started while this one loaded
        return;
      }
      // main's result, once it returns, goes to exit, as in the C runtime.
      // A main that went on to the window's main loop ends in 'unwind'.
      program.ccall('main', 'number', ['number', 'number'], [0, 0], { async: true })
        .then(function (status) {
          callProgram(function () {
            program._exit(status);
          });
        }, function (reason) {
          if (reason !== 'unwind' && !(reason && reason.name === 'ExitStatus')) {
            show('stderr', String(reason) + '\n');
          }
        });
    }, function (reason) {
      show('stderr', 'Program nije mogao da se pokrene: ' + reason + '\n');
      statusLine.textContent = 'Program nije pokrenut.';
    });
  }

  newRunButton.addEventListener('click', startRun);
  startRun();
}());
