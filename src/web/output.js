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
  var newest = null;       // the newest line: its element and text
  var marked = null;       // the element that holds the mark, and its text without it
  window.printedLines = 0;

  // Marks the symbol at position `at` of the newest string, and takes any
  // earlier mark away; -1 marks none. Only the piece that holds the symbol
  // is laid out again, and it is scrolled into view.
  Module.markSymbol = function (at) {
    if (marked && marked.at === at && marked.line === newest) return;
    if (marked) marked.holder.textContent = marked.text;
    marked = null;
    if (!newest || at < 0 || at >= newest.text.length) return;
    var long = newest.element.className === 'long';
    var start = long ? at - at % pieceCharacters : 0;
    var holder = long ? newest.element.children[start / pieceCharacters] : newest.element;
    var text = long ? holder.textContent : newest.text;
    var mark = document.createElement('mark');
    mark.textContent = text[at - start];
    holder.textContent = text.slice(0, at - start);
    holder.appendChild(mark);
    holder.appendChild(document.createTextNode(text.slice(at - start + 1)));
    marked = { at: at, line: newest, holder: holder, text: text };
    mark.scrollIntoView({ block: 'nearest', inline: 'nearest' });
  };

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
    Module.markSymbol(-1);
    newest = { element: line, text: text };
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
