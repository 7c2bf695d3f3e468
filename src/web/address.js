// The plant in the page's address, and Back and Forward through the
// presses. It comes after status.js and deflate.js in page.js, and before
// buttons.js.
//
// The address's fragment holds the plant's derivation string, deflated
// (deflate.js) and in base64url behind a versioned prefix: "#p1=...". The program checks the
// string (showAddressPlant) and shows the usual plant where it cannot take
// it. Each press that changes the plant adds a history entry, so that Back
// and Forward step through the plant's states without a reload.
(function () {
  var prefix = '#p1=';
  // The longest string the program takes from an address: inflating stops
  // past it, so a small address cannot fill the memory.
  var maxSymbols = 1000000;
  var unreadable = 'The link held no plant that this page could read, so it shows the usual plant.';
  var keeps = typeof DecompressionStream === 'function';

  var shown = null;        // the string on the page, which the address holds once written
  window.addressHolds = null;   // the string the address holds now
  var fromAddress = false; // whether a line printed now came from the address, not a press
  var work = Promise.resolve();   // address reads and writes, one after another
  var moves = 0;           // history moves the browser has made
  var addressShows = 0;    // plants shown from the address after start-up

  var encoder = new TextEncoder();
  // Each character's code as a byte: at once where all are ASCII, as a
  // plant's symbols are, whose UTF-8 is the same bytes.
  function bytesOf(text) {
    var bytes = encoder.encode(text);
    if (bytes.length === text.length) return bytes;
    bytes = new Uint8Array(text.length);
    for (var i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);
    return bytes;
  }

  // The fragment's code for a string, in slices that leave the page its
  // frames; a large plant's begins in a task after the one that printed it.
  async function deflated(text) {
    if (text.length > 100000) await new Promise(function (later) { setTimeout(later, 0); });
    var bytes = await deflateRawSoon(bytesOf(text)), s = '';
    for (var i = 0; i < bytes.length; i += 8192) s += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
    return btoa(s).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
  }

  // The bytes a "#p1=" fragment holds; throws where it holds none.
  async function inflated(code) {
    if (!/^[A-Za-z0-9_-]+$/.test(code) || code.length % 4 === 1) throw new Error('not base64url');
    var binary = atob(code.replace(/-/g, '+').replace(/_/g, '/'));
    var reader = new Blob([bytesOf(binary)]).stream().pipeThrough(new DecompressionStream('deflate-raw')).getReader();
    var parts = [], size = 0;
    for (;;) {
      var next = await reader.read();
      if (next.done) break;
      size += next.value.length;
      if (size > maxSymbols) {
        reader.cancel().catch(function () {});
        throw new Error('too long');
      }
      parts.push(next.value);
    }
    var bytes = new Uint8Array(size), at = 0;
    parts.forEach(function (part) { bytes.set(part, at); at += part.length; });
    return bytes;
  }

  // What an address's fragment holds: { plant: bytes or null, bad: whether
  // it held something unreadable }. A link re-encoded on its way (%53 for
  // S, %3D for =) or with white space around it holds the same plant.
  async function readAddress(hash) {
    var text;
    try {
      text = decodeURIComponent(hash.replace(/^#/, '')).trim();
    } catch (e) {
      return { plant: null, bad: true };
    }
    if (text === '') return { plant: null, bad: false };
    var code = prefix.slice(1);
    if (!keeps || text.indexOf(code) !== 0) return { plant: null, bad: true };
    try {
      return { plant: await inflated(text.slice(code.length)), bad: false };
    } catch (e) {
      return { plant: null, bad: true };
    }
  }

  function say(note) {
    Module.say('address', note);
  }

  // After the program has read the address: a plant it refused is as unreadable as a broken address.
  function read(found, taken) {
    say(found.bad || taken === 0 ? unreadable : '');
  }

  // History writes stay within what every engine allows: WebKit refuses a
  // page more than 100 pushState and replaceState calls in 10 seconds.
  // While the budget is spent, the plants that wait for it are written as
  // one, the newest, a new entry if any of them was a press; a write the
  // browser refuses all the same waits and goes with the next.
  var budget = 90, budgetMs = 10000;
  var written = [];        // when the writes of the last budgetMs were made
  var queue = [];          // plants still to write, oldest first
  var draining = false;

  function stale(entry) {
    return entry.move !== moves || entry.show !== addressShows;
  }

  // Whether the writes of the last budgetMs have spent the budget.
  function spent() {
    var now = performance.now();
    while (written.length && now - written[0] >= budgetMs) written.shift();
    return written.length >= budget;
  }

  // Resolves once a write is within the budget, or once what waits for it
  // is stale: the browser moved to another entry meanwhile.
  async function room() {
    while (spent() && !queue.every(stale))
      await new Promise(function (later) { setTimeout(later, 250); });
  }

  // Writes the queued plants in order. A large plant takes a while to
  // write: where the browser moves to another entry meanwhile, that
  // entry's plant is the one shown, and this one is not written over it.
  async function drain() {
    while (queue.length) {
      var waited = spent();
      await room();
      var entry = queue.shift();
      if (waited) {
        queue.forEach(function (later) { later.press = later.press || entry.press; });
        while (queue.length) entry = queue.shift();
      }
      if (stale(entry)) continue;
      var code = await deflated(entry.text);
      if (stale(entry)) continue;
      try {
        if (entry.press) history.pushState(null, '', prefix + code);
        else history.replaceState(null, '', prefix + code);
      } catch (e) {
        console.warn('The browser refused the address a plant, which waits for the next write: ' + e);
        written = Array(budget).fill(performance.now());
        queue.unshift(entry);
        continue;
      }
      written.push(performance.now());
      window.addressHolds = entry.text;
    }
  }

  // Puts the string in the address: a new entry for a press, the same one otherwise.
  function keep(text, press) {
    if (!keeps) return;
    queue.push({ text: text, press: press, move: moves, show: addressShows });
    if (draining) return;
    draining = true;
    work = work.then(drain).catch(function (e) {
      queue = [];
      console.warn('The address keeps no plant: ' + e);
    }).then(function () { draining = false; });
  }

  // Every line the program prints: a plant, unless it is a sentence. A
  // plant shown from the address is the entry's already, and writes no
  // history: the browser may have moved on to another entry since.
  Module.onPrint(function (text) {
    if (/\s/.test(text)) return;
    var press = shown !== null && !fromAddress;
    if (press && text === shown) return;
    shown = text;
    if (fromAddress) return;
    // A plant too large to reopen leaves the address at the last one that can be.
    if (text.length > maxSymbols) {
      say('This plant has more than ' + maxSymbols.toLocaleString('en-US') +
          ' symbols, more than a link holds: the link keeps the last plant that fit.');
      return;
    }
    // A press that changes the plant moves on from what the page last said.
    if (press) say('');
    keep(text, press);
  });

  // The program starts once the address is read, with its plant.
  Module.preRun = [function () {
    Module.addRunDependency('address');
    readAddress(location.hash).then(function (found) {
      Module.addressPlant = found.plant;
      Module.addressRead = function (taken) { read(found, taken); };
      Module.removeRunDependency('address');
    });
  }];

  // Back, Forward or an edited address: the plant the entry holds, printed.
  // The fragment is read as the browser moves, and of several moves in
  // quick succession only the last is shown: the entry the browser is on.
  window.addEventListener('popstate', function () {
    var hash = location.hash, move = ++moves;
    work = work.then(function () { return readAddress(hash); }).then(function (found) {
      if (move !== moves || !Module.running || Module.ended) return;
      Module.addressPlant = found.plant;
      fromAddress = true;
      addressShows++;
      var taken;
      try {
        taken = Module._showAddressPlant();
      } finally {
        fromAddress = false;
      }
      read(found, taken);
      window.addressHolds = taken === 1 ? shown : null;
    });
  });

  // Whether the address holds the plant on the page, once the writes under
  // way are done: the one link worth sharing.
  window.plantAddress = {
    holdsShown: function () {
      return work.then(function () { return shown !== null && window.addressHolds === shown; });
    },
    // The usual plant, as a new entry: as a press would, but from the page.
    startOver: function () {
      if (!Module.running || Module.ended) return;
      work = work.then(function () {
        Module.addressPlant = null;
        say('');
        Module._showAddressPlant();
      });
    }
  };
})();
