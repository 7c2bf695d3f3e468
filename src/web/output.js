// The strings under the canvas: every line the program prints, the newest
// in view. The box keeps the newest lines only and counts the rest, so that
// a page used for hours holds and lays out no more than a page used for
// minutes.
(function () {
  var output = document.getElementById('output');
  var earlier = document.getElementById('earlier');
  var shownLines = 100;
  var scrollAsked = false;
  window.printedLines = 0;

  Module.onPrint(function (text) {
    var line = document.createElement('div');
    line.textContent = text;
    output.appendChild(line);
    printedLines++;
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
  });
})();
