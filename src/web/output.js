// The strings under the canvas: every line the program prints, the newest
// in view. The box keeps the newest lines only and counts the rest, so that
// a page used for hours holds and lays out no more than a page used for
// minutes: at most 100 lines, and at most 2,000,000 characters, the two
// largest plants a link holds. The newest line is always kept whole.
(function () {
  var output = document.getElementById('output');
  var earlier = document.getElementById('earlier');
  var shownLines = 100;
  var shownCharacters = 2000000;
  // A line longer than this is laid out on one row that scrolls sideways,
  // in pieces that the browser lays out only once they come into view or
  // into a selection: wrapped, a million characters take it a third of a
  // second to lay out, and a quarter on one row in one piece.
  var wrappedCharacters = 100000;
  var pieceCharacters = 10000;
  var lengths = [];        // of the lines shown, oldest first
  var characters = 0;      // in the lines shown
  var scrollAsked = false;
  window.printedLines = 0;

  Module.onPrint(function (text) {
    var line = document.createElement('div');
    if (text.length > wrappedCharacters) {
      line.className = 'long';
      for (var i = 0; i < text.length; i += pieceCharacters) {
        var piece = document.createElement('span');
        piece.textContent = text.slice(i, i + pieceCharacters);
        // Its width before it is laid out: one monospace character is 1ch.
        piece.style.containIntrinsicWidth = piece.textContent.length + 'ch';
        line.appendChild(piece);
      }
    } else {
      line.textContent = text;
    }
    output.appendChild(line);
    lengths.push(text.length);
    characters += text.length;
    printedLines++;
    var dropped = false;
    while (lengths.length > shownLines || (lengths.length > 1 && characters > shownCharacters)) {
      output.removeChild(output.firstElementChild);
      characters -= lengths.shift();
      dropped = true;
    }
    if (dropped) {
      var hidden = printedLines - lengths.length;
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
