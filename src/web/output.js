// The program's Module for the page: its standard output shown as lines
// under the canvas, the status line above them, and what the page says
// when the program cannot start or has ended. index.html loads this
// first: the other scripts add to Module, and plant.js reads it.
var statusLine = document.getElementById('status');
var output = document.getElementById('output');
var earlier = document.getElementById('earlier');
// The output keeps the newest lines only, so that a page used for hours
// holds and lays out no more than a page used for minutes.
var shownLines = 100;
var printedLines = 0;
var scrollAsked = false;
var canvas = document.getElementById('canvas');
// A screen that only a finger reaches has no keyboard either; where a
// mouse or a pen is, a keyboard is too.
var hasTouch = navigator.maxTouchPoints > 0 || 'ontouchstart' in window;
var touchOnly = hasTouch && !window.matchMedia('(any-pointer: fine)').matches;
var howTo = touchOnly
  ? 'Tap a leaf to grow the plant there, or a joint to cut it; drag a finger to see what lies under it.'
  : 'Move the mouse over a leaf or a joint; press a mouse button to grow the plant at a leaf or cut it at a joint' +
    (hasTouch ? ', or tap it' : '') + '; press a key to quit.';

var Module = {
  canvas: canvas,
  // Every line the program writes to standard output, in order: the
  // newest in view, the oldest dropped past shownLines and counted.
  print: function (text) {
    var line = document.createElement('div');
    line.textContent = text;
    output.appendChild(line);
    printedLines++;
    if (Module.plantPrinted) Module.plantPrinted(text);
    if (output.childElementCount > shownLines) {
      output.removeChild(output.firstElementChild);
      var hidden = printedLines - shownLines;
      earlier.textContent = hidden.toLocaleString('en-US') + (hidden === 1 ? ' earlier line' : ' earlier lines');
      earlier.hidden = false;
    }
    // Scrolled once a frame, when the browser lays the page out anyway.
    if (!scrollAsked) {
      scrollAsked = true;
      requestAnimationFrame(function () { scrollAsked = false; output.scrollTop = output.scrollHeight; });
    }
  },
  printErr: function (text) { console.warn(text); },
  onRuntimeInitialized: function () { Module.running = true; },
  // What the page has to say of its address, before how to use it.
  addressNote: '',
  setStatus: function (text) {
    if (!Module.ended) statusLine.textContent = text || (Module.addressNote ? Module.addressNote + ' ' : '') + howTo;
  },
  onAbort: function (what) {
    Module.ended = true;
    statusLine.textContent = 'The program could not start (' + what + '). ' +
      'Serve this folder instead: make web-serve, then open http://127.0.0.1:8600/.';
  },
  programEnded: function () {
    Module.ended = true;
    document.getElementById('start-over').disabled = true;
    statusLine.textContent = 'The program has ended.';
  }
};
