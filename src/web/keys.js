// Which keys are the program's. Any key ends the program, as on the desktop,
// but some belong to the browser or to the page and never reach it: keys
// pressed with Ctrl, Alt or Meta and those keys alone (copying a string,
// switching windows, the browser's shortcuts), and Enter, Space, Tab and
// Shift on the page's buttons, which move between and press them.
(function () {
  var controls = document.getElementById('controls');
  var modifiers = ['Control', 'Alt', 'AltGraph', 'Meta', 'OS', 'Super', 'Hyper', 'Shift', 'Tab'];

  function pagesOwn(event) {
    return event.ctrlKey || event.altKey || event.metaKey || modifiers.indexOf(event.key) >= 0 ||
      (event.target instanceof Node && event.target.closest && event.target.closest('button') !== null);
  }

  ['keydown', 'keyup', 'keypress'].forEach(function (type) {
    window.addEventListener(type, function (event) {
      if (pagesOwn(event)) event.stopPropagation();
      else if (type === 'keydown' && Module.running && !Module.ended) Module._wake();
    }, true);
  });

  // A button pressed with the mouse or a finger gives the keyboard back at once.
  controls.addEventListener('click', function (event) {
    if (event.detail > 0 && event.target.blur) event.target.blur();
  });
})();
