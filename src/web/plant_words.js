// The plant in words, for those who cannot see the canvas. The program
// tells the page, after each frame that changed it, what it shows
// (Module.plantShown): the page keeps the plant's description current and
// says, politely, where the highlight went and what a press did, the
// newest words in place of the older. Nothing is said while the mouse
// passes over the sky.
(function () {
  var description = document.getElementById('plant-description');
  var said = document.getElementById('highlight-said');
  var lights = ['lit', 'half shaded', 'shaded'];
  var last = { selected: -1, symbol: '' };

  function count(n, one, many) {
    return n.toLocaleString('en-US') + ' ' + (n === 1 ? one : many);
  }

  // "Leaf, half shaded: symbol 14 of 59, 3 branches deep."
  function square(seen) {
    var what = seen.symbol === 'o' ? 'Leaf, ' + lights[seen.light]
      : seen.selected === 0 ? 'Root joint, never cut' : 'Joint';
    var where = seen.depth === 0 ? 'on the stem' : count(seen.depth, 'branch', 'branches') + ' deep';
    return what + ': symbol ' + (seen.selected + 1).toLocaleString('en-US') + ' of ' +
      seen.length.toLocaleString('en-US') + ', ' + where + '.';
  }

  // What a press did, or '' for a press on nothing.
  function press(pressed, length) {
    var at = 'symbol ' + (pressed.at + 1).toLocaleString('en-US');
    var now = ': the plant has ' + count(length, 'symbol', 'symbols') + ' now.';
    if (pressed.at < 0) return '';
    if (pressed.symbol === 'o') return 'Grown at ' + at + now;
    if (pressed.at === 0) return 'The root joint is never cut.';
    return 'Cut at ' + at + now;
  }

  Module.plantShown = function (seen) {
    var leaves = seen.leaves[0] + seen.leaves[1] + seen.leaves[2];
    description.textContent = 'A plant of ' + count(seen.length, 'symbol', 'symbols') + ', with ' +
      count(seen.joints, 'joint', 'joints') + ' and ' + count(leaves, 'leaf', 'leaves') + ': ' +
      seen.leaves[0].toLocaleString('en-US') + ' lit, ' + seen.leaves[1].toLocaleString('en-US') +
      ' half shaded and ' + seen.leaves[2].toLocaleString('en-US') + ' shaded. Grow it at a leaf, cut it at a joint.';
    var words = seen.pressed ? press(seen.pressed, seen.length) : '';
    var moved = seen.selected !== last.selected || seen.symbol !== last.symbol;
    if (seen.selected >= 0 && (moved || words)) words += (words ? ' ' : '') + square(seen);
    if (words) said.textContent = words;
    last = seen;
    Module.markSymbol(seen.selected);
  };
})();
