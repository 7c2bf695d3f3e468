// Which keys are the plant's, the program's and the browser's. While the
// plant has the focus, the arrows, Home, End, Page Up and Page Down move
// its highlight from square to square, and Enter or Space presses the
// highlighted square, as a mouse button does. Every other key ends the
// program, as on the desktop, but some belong to the browser or to the
// page and never reach it: keys pressed with Ctrl, Alt or Meta and those
// keys alone (copying a string, switching windows, the browser's
// shortcuts); Tab, Shift, Enter and Space on the page's buttons; and the
// plant's keys elsewhere on the page (they scroll the strings). Once the
// program has ended, every key is the browser's again.
(function () {
  var canvas = document.getElementById('canvas');
  var controls = document.getElementById('controls');
  var modifiers = ['Control', 'Alt', 'AltGraph', 'Meta', 'OS', 'Super', 'Hyper', 'Shift', 'Tab'];
  // The highlight's moves by key, numbered as the program numbers them:
  // Left and Right along the string, Up to the joint a square hangs from,
  // Down to the first square that hangs from it, Page Up and Page Down to
  // the previous and next square hanging from the same joint, Home and End
  // to the first and last square.
  var moves = { ArrowRight: 1, ArrowLeft: 2, ArrowUp: 3, ArrowDown: 4, PageDown: 5, PageUp: 6, Home: 7, End: 8 };
  var presses = ['Enter', ' ', 'Spacebar'];
  var here = 0;

  function plantKey(event) {
    return moves.hasOwnProperty(event.key) || presses.indexOf(event.key) >= 0;
  }

  function pagesOwn(event) {
    var target = event.target instanceof Node ? event.target : null;
    return Module.ended || event.ctrlKey || event.altKey || event.metaKey || modifiers.indexOf(event.key) >= 0 ||
      (target !== null && target.closest && target.closest('button') !== null) ||
      (target !== canvas && plantKey(event));
  }

  ['keydown', 'keyup', 'keypress'].forEach(function (type) {
    window.addEventListener(type, function (event) {
      var running = Module.running && !Module.ended;
      if (pagesOwn(event)) {
        event.stopPropagation();
        // Tab's release comes to the element it reached: where the
        // browser does not tell the plant of its focus (a window in the
        // background), this does.
        if (type === 'keyup' && event.key === 'Tab' && event.target === canvas) highlightHere();
      } else if (plantKey(event)) {
        event.stopPropagation();
        event.preventDefault();
        canvas.classList.remove('pointer-focus');
        if (type !== 'keydown' || !running) return;
        if (moves.hasOwnProperty(event.key)) Module._moveHighlight(moves[event.key]);
        else if (!event.repeat) Module._pressHighlight();
      } else if (type === 'keydown' && running) {
        Module._wake();
      }
    }, true);
  });

  // The plant reached from the keyboard highlights a square at once: the
  // one the mouse is on, or the first. Reached by the mouse or a finger,
  // it keeps the mouse's highlight.
  function highlightHere() {
    if (Module.running && !Module.ended) Module._moveHighlight(here);
  }
  canvas.addEventListener('focus', function () {
    if (!Module.pointerFocus) highlightHere();
  });

  // A button pressed with the mouse or a finger gives the keyboard back at once.
  controls.addEventListener('click', function (event) {
    if (event.detail > 0 && event.target.blur) event.target.blur();
  });
})();
