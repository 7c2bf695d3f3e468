// The line above the strings: how to use the plant, the page's notes, and
// what went wrong with a way on. It comes first in page.js: it makes the
// program's Module, which the other scripts add to and the program reads.
(function () {
  var statusLine = document.getElementById('status');
  var action = document.getElementById('action');
  var canvas = document.getElementById('canvas');
  var fromFolder = location.protocol === 'file:';
  // The program's script, as index.html chose it.
  var programFile = window.plantProgram;
  // Past this, a program not yet running is said to be late, though it may yet come.
  var stallSeconds = 15;

  // A screen that only a finger reaches has no keyboard either; where a
  // mouse or a pen is, a keyboard is too.
  var hasTouch = navigator.maxTouchPoints > 0 || 'ontouchstart' in window;
  var touchOnly = hasTouch && !window.matchMedia('(any-pointer: fine)').matches;
  var howTo = touchOnly
    ? 'Tap a leaf to grow the plant there, or a joint to cut it; drag a finger to see what lies under it.'
    : 'Press a mouse button' + (hasTouch ? ' or tap' : '') +
      ' on a leaf to grow the plant there, or on a joint to cut it; Tab for the keys; any other key quits.';
  // With the plant's focus, its keys. Short, as the other lines: on a
  // small screen every line of it is taken from the strings.
  var keysHowTo = 'Arrows, Home, End, Page Up and Page Down move the highlight; Enter or Space grows or cuts there; ' +
    'other keys quit.';

  var notes = {};          // what the page says before how to use it, by topic
  var failure = '';        // why the program cannot run, once it cannot
  var arrived = false;     // whether the program's script ran to its end

  // The line is a status that screen readers read out as it changes: it
  // changes only when its words do.
  function show() {
    var text;
    if (failure) {
      text = failure;
    } else if (Module.ended) {
      text = 'The program has ended, as a key press ends it. Grow again starts it anew with the plant in the address.';
    } else {
      var said = Object.keys(notes).map(function (k) { return notes[k]; }).filter(Boolean);
      var usage = document.activeElement === canvas && !touchOnly ? keysHowTo : howTo;
      text = said.concat(Module.running ? [usage] : ['Loading…']).join(' ');
    }
    if (statusLine.textContent !== text) statusLine.textContent = text;
  }
  canvas.addEventListener('focus', function () { show(); });
  canvas.addEventListener('blur', function () { show(); });
  // Where the browser does not tell of the focus (a window in the
  // background), Tab's release does.
  window.addEventListener('keyup', function (event) { if (event.key === 'Tab') show(); }, true);

  function offer(label, act) {
    action.textContent = label;
    action.onclick = act;
    action.hidden = false;
  }

  // The program cannot run: says why and what to do, and offers a reload.
  // The engine's own words, where there are any, go to the console.
  function fail(what, engineSaid) {
    if (failure || Module.ended) return;
    if (engineSaid !== undefined) console.error(engineSaid);
    failure = what + (fromFolder
      ? ' A page opened from a folder needs every file of the page beside index.html; ' +
        'or serve the folder (make web-serve) and open http://127.0.0.1:8600/.'
      : ' Reload the page to try again.');
    Module.ended = true;
    offer('Reload', function () { location.reload(); });
    show();
  }

  // Why the program did not load, where the server can say.
  function whyNotLoaded() {
    var where = 'The plant\u2019s program (' + programFile + ') did not load';
    if (fromFolder) return Promise.resolve(where + '.');
    return fetch(programFile, { method: 'HEAD', cache: 'no-store' }).then(function (answer) {
      if (answer.status === 404) return where + ': it is missing from the server.';
      if (!answer.ok) return where + ': the server answered ' + answer.status + '.';
      var type = answer.headers.get('Content-Type') || '';
      if (!/javascript/i.test(type)) return where + ': the server sent it as ' + (type || 'an unknown type') + '.';
      return where + '.';
    }, function () { return where + ': the connection failed.'; });
  }

  function scriptName(element) {
    return element && element.tagName === 'SCRIPT' ? element.src.replace(/[?#].*$/, '').replace(/^.*\//, '') : '';
  }

  // The program did not load.
  document.addEventListener('error', function (event) {
    if (scriptName(event.target) === programFile) whyNotLoaded().then(fail);
  }, true);

  // The program arrived but did not run to its end: cut short on its way,
  // or, in a folder, damaged.
  document.addEventListener('load', function (event) {
    if (scriptName(event.target) === programFile && !arrived)
      fail('The plant\u2019s program (' + programFile + ') ' +
           (fromFolder ? 'is damaged or incomplete.' : 'arrived incomplete, cut short on its way.'));
  }, true);

  // The program's WebAssembly did not come: its connection failed before
  // or while it was read, and the program's start has nothing to catch
  // that with.
  window.addEventListener('unhandledrejection', function (event) {
    if (Module.running || !arrived) return;
    event.preventDefault();
    fail('The plant\u2019s program (plant.wasm) did not load: the connection failed.', event.reason);
  });

  // Whatever holds up the program (its script, its WebAssembly, a
  // connection that stalls), it runs within the bound or the page says so.
  setTimeout(function () {
    if (Module.running || failure) return;
    Module.say('late', 'The plant\u2019s program has not arrived after ' + stallSeconds +
      ' seconds: the connection may be slow or stalled. Reload the page to try again.');
    offer('Reload', function () { location.reload(); });
  }, stallSeconds * 1000);

  var readers = [];        // who reads each line the program prints

  window.Module = {
    canvas: canvas,
    // The program's WebAssembly, of the page's own build.
    locateFile: function (path) { return path + (window.plantVersion || ''); },
    // Every line the program writes to standard output goes to each reader, in order.
    print: function (text) {
      for (var i = 0; i < readers.length; i++) readers[i](text);
    },
    onPrint: function (reader) { readers.push(reader); },
    printErr: function (text) { console.warn(text); },
    // The program's script ends by saying so.
    arrived: function () {
      arrived = true;
    },
    onRuntimeInitialized: function () {
      Module.running = true;
      Module.say('late', '');
      if (!failure) action.hidden = true;
      show();
    },
    // A note on a topic, '' to take it back.
    say: function (topic, text) {
      notes[topic] = text;
      show();
    },
    // Emscripten's own progress messages are not shown: the page says its own.
    setStatus: function () {},
    onAbort: function (what) {
      // Served, the program fetches its WebAssembly itself.
      if (/fetching of the wasm failed/.test(what)) fail('The plant\u2019s program (plant.wasm) did not load.', what);
      else if (!Module.running) fail('The plant\u2019s program (' + (fromFolder ? programFile + ') is' : 'plant.wasm) arrived') +
                                     ' damaged or incomplete, so it could not start.', what);
      else fail('The plant\u2019s program stopped with an error.', what);
    },
    programEnded: function () {
      Module.ended = true;
      document.getElementById('start-over').disabled = true;
      // The link of a press made just before the end may still be on its
      // way into the address: the program starts again once it is there.
      offer('Grow again', function () {
        if (!window.plantAddress) location.reload();
        else plantAddress.holdsShown().then(function () { location.reload(); });
      });
      show();
    }
  };
  show();
})();
