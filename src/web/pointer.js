// The mouse and fingers on the canvas, handed to the program as the mouse
// it knows. Each position becomes a window pixel at the moment of its
// event, from the canvas's place then: a layout that changes before the
// next frame (a resized window, a turned phone, a slow frame) does not move
// a press. The page takes these events before the browser's SDL, which
// would place them only when the program polls.
(function () {
  var canvas = document.getElementById('canvas');

  // A press or a touch on the canvas gives it the keyboard's focus, away
  // from any button, as the browser would if the page let it.
  // The ring that shows the keyboard's focus stays off until a key is used
  // on the plant (keys.js).
  function takeFocus() {
    if (document.activeElement === canvas) return;
    Module.pointerFocus = true;
    canvas.classList.add('pointer-focus');
    canvas.focus({ preventScroll: true });
    Module.pointerFocus = false;
  }
  canvas.addEventListener('blur', function () { canvas.classList.remove('pointer-focus'); });

  // The canvas pixel under a mouse or touch position, or null off the canvas.
  function canvasPixel(at) {
    var box = canvas.getBoundingClientRect();
    var x = Math.floor((at.clientX - box.left) * canvas.width / box.width);
    var y = Math.floor((at.clientY - box.top) * canvas.height / box.height);
    return x >= 0 && y >= 0 && x < canvas.width && y < canvas.height ? [x, y] : null;
  }

  // A motion, or a press of SDL's button 1 to 5 (4 and 5 the wheel's steps
  // up and down), where the mouse is. Releases and the mouse leaving the
  // canvas mean nothing to the program.
  function mouse(event) {
    if (event.target !== canvas) return;
    event.preventDefault();
    event.stopPropagation();
    var button = 0;
    if (event.type === 'mousedown') {
      button = event.button + 1;
      takeFocus();
    }
    else if (event.type === 'wheel') button = event.deltaY < 0 ? 4 : 5;
    else if (event.type !== 'mousemove') return;
    var at = canvasPixel(event);
    if (at && Module.running && !Module.ended) Module._mouseAt(at[0], at[1], button);
  }
  ['mousemove', 'mousedown', 'mouseup', 'mouseout', 'wheel', 'mousewheel', 'DOMMouseScroll'].forEach(function (type) {
    window.addEventListener(type, mouse, { capture: true, passive: false });
  });

  // A finger looks, and a tap acts. A finger down and its drag move the
  // highlight to the square under it. The program gets a press only where
  // a single finger lifts within tapSlop CSS pixels of where it landed,
  // however long it stayed: a motion to the lift position, then a press
  // and release there, as with a mouse. Further fingers, a longer drag or a
  // cancelled touch press nothing. The page takes the touches before the
  // program's own handlers, and neither scrolls nor zooms under them.
  var tapSlop = 10;
  var gesture = null;   // the first finger, where it landed, whether it moved or others came
  function fingerAt(touch, press) {
    var at = canvasPixel(touch);
    if (at && Module.running && !Module.ended) Module._fingerAt(at[0], at[1], press ? 1 : 0);
  }
  function touched(event) {
    if (event.target !== canvas) return;
    event.preventDefault();
    event.stopPropagation();
    if (gesture === null && event.type !== 'touchstart') return;
    var touch = null;
    for (var i = 0; gesture !== null && i < event.changedTouches.length; i++)
      if (event.changedTouches[i].identifier === gesture.finger) touch = event.changedTouches[i];
    if (event.type === 'touchstart') takeFocus();
    if (event.type === 'touchstart' && gesture === null) {
      var first = event.changedTouches[0];
      gesture = { finger: first.identifier, x: first.clientX, y: first.clientY, moved: false,
                  many: event.touches.length > 1 };
      if (!gesture.many) fingerAt(first, false);
    } else if (event.type === 'touchstart' || event.type === 'touchcancel') {
      gesture.many = true;
    } else if (touch && !gesture.many) {
      gesture.moved = gesture.moved ||
        Math.hypot(touch.clientX - gesture.x, touch.clientY - gesture.y) > tapSlop;
      if (event.type === 'touchmove') fingerAt(touch, false);
      else if (!gesture.moved) fingerAt(touch, true);
    }
    if (event.type !== 'touchstart' && event.type !== 'touchmove' && event.touches.length === 0) gesture = null;
  }
  ['touchstart', 'touchmove', 'touchend', 'touchcancel'].forEach(function (type) {
    window.addEventListener(type, touched, { capture: true, passive: false });
  });
})();
