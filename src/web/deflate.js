// deflateRaw(bytes): the bytes compressed as raw deflate (RFC 1951), which
// the browser's DecompressionStream('deflate-raw') reads back. One final
// block, in the fixed Huffman codes or in codes made for these bytes,
// whichever is shorter; matches come from hash chains over the 32 KB
// window, and a short one waits a symbol for a longer one.
// deflateRawSoon(bytes): the same bytes, as a promise, compressed in slices
// of about 10 ms, between which the page draws its frames and takes input:
// a million symbols can take most of a second.
//
// Each engine's own CompressionStream compresses the same string to a
// different length, one to twice another's; this gives every engine the
// same, short address.
var deflateRaw, deflateRawSoon;
(function () {
  var lengthBase = [3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31, 35, 43, 51, 59, 67, 83, 99, 115,
                    131, 163, 195, 227, 258];
  var lengthExtra = [0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0];
  var distanceBase = [1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193, 257, 385, 513, 769, 1025, 1537,
                      2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577];
  var distanceExtra = [0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12,
                       13, 13];
  var windowSize = 32768, longestMatch = 258, chainSteps = 256, lazyBelow = 32;

  // The order in which a dynamic block gives the code-length code's lengths.
  var lengthOrder = [16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15];

  // Huffman code lengths for these frequencies, none longer than limit; a
  // symbol of frequency 0 gets none. At least two symbols get a code, as
  // inflaters expect of a complete code.
  function codeLengths(frequencies, limit) {
    var n = frequencies.length, used = [];
    for (var s = 0; s < n; s++) if (frequencies[s] > 0) used.push(s);
    for (var extra = 0; used.length < 2; extra++) if (used.indexOf(extra) < 0) used.push(extra);
    // Rarest first, ties by symbol: the same codes in every engine.
    used.sort(function (a, b) { return (frequencies[a] - frequencies[b]) || (a - b); });
    // The tree, merged from the two rarest each time; depth counted per leaf.
    var nodes = used.map(function (sym) { return { weight: Math.max(frequencies[sym], 1), leaves: [sym] }; });
    var depth = new Array(n).fill(0);
    while (nodes.length > 1) {
      var a = nodes.shift(), b = nodes.shift();
      var merged = { weight: a.weight + b.weight, leaves: a.leaves.concat(b.leaves) };
      merged.leaves.forEach(function (sym) { depth[sym]++; });
      var at = 0;
      while (at < nodes.length && nodes[at].weight <= merged.weight) at++;
      nodes.splice(at, 0, merged);
    }
    // Too deep: counts of codes per length made to fit, as zlib does, then
    // the shortest codes to the most frequent symbols.
    var count = new Array(limit + 1).fill(0), overflow = 0;
    used.forEach(function (sym) {
      if (depth[sym] > limit) overflow++;
      count[Math.min(depth[sym], limit)]++;
    });
    while (overflow > 0) {
      var bits = limit - 1;
      while (count[bits] === 0) bits--;
      count[bits]--;
      count[bits + 1] += 2;
      count[limit]--;
      overflow -= 2;
    }
    var lengths = new Array(n).fill(0), next = 0;
    for (var length = limit; length >= 1; length--)
      for (var k = 0; k < count[length]; k++) lengths[used[next++]] = length;
    return lengths;
  }

  // Canonical codes for the lengths, bits reversed for sending least
  // significant bit first.
  function codesFor(lengths) {
    var count = new Array(16).fill(0), next = new Array(16).fill(0), codes = new Array(lengths.length).fill(0);
    lengths.forEach(function (l) { if (l) count[l]++; });
    for (var bits = 1, code = 0; bits < 16; bits++) {
      code = (code + count[bits - 1]) << 1;
      next[bits] = code;
    }
    lengths.forEach(function (l, sym) {
      if (!l) return;
      var code = next[l]++, reversed = 0;
      for (var i = 0; i < l; i++) reversed |= (code >> i & 1) << (l - 1 - i);
      codes[sym] = reversed;
    });
    return codes;
  }

  // The code lengths of both codes as code-length symbols: [symbol, extra bits, extra value] each.
  function runLengths(lengths) {
    var runs = [];
    for (var i = 0; i < lengths.length;) {
      var l = lengths[i], run = 1;
      while (i + run < lengths.length && lengths[i + run] === l) run++;
      var left = run;
      if (l === 0) {
        while (left >= 11) { var z = Math.min(left, 138); runs.push([18, 7, z - 11]); left -= z; }
        if (left >= 3) { runs.push([17, 3, left - 3]); left = 0; }
      } else {
        runs.push([l, 0, 0]);
        left--;
        while (left >= 3) { var r = Math.min(left, 6); runs.push([16, 2, r - 3]); left -= r; }
      }
      for (; left > 0; left--) runs.push([l, 0, 0]);
      i += run;
    }
    return runs;
  }

  // The fixed code's lengths: literals and lengths, then distances.
  var fixedLengths = [];
  for (var f = 0; f < 288; f++) fixedLengths.push(f < 144 ? 8 : f < 256 ? 9 : f < 280 ? 7 : 8);
  var fixedDistances = new Array(30).fill(5);

  // The compression, pausing now and then: each yield is a place to stop for a while.
  function* deflating(bytes) {
    var n = bytes.length;

    // Earlier positions by their first three bytes, newest first.
    var head = new Map(), previous = new Int32Array(n);
    function key(i) { return bytes[i] | bytes[i + 1] << 8 | bytes[i + 2] << 16; }
    function insert(i) {
      if (i + 2 >= n) return;
      var k = key(i);
      previous[i] = head.has(k) ? head.get(k) : -1;
      head.set(k, i);
    }
    // The longest earlier match at i: [length, distance], length 0 if none.
    function longest(i) {
      var best = 0, distance = 0, limit = Math.min(longestMatch, n - i);
      if (limit < 3) return [0, 0];
      var j = head.has(key(i)) ? head.get(key(i)) : -1;
      for (var steps = 0; j >= 0 && i - j <= windowSize && steps < chainSteps && best < limit; steps++) {
        if (bytes[j + best] === bytes[i + best]) {
          var k = 0;
          while (k < limit && bytes[j + k] === bytes[i + k]) k++;
          if (k > best) {
            best = k;
            distance = i - j;
          }
        }
        j = previous[j];
      }
      return best >= 3 ? [best, distance] : [0, 0];
    }

    // The bytes as literals and matches: for each, the literal or length
    // symbol, and for a match its length's extra bits, its distance code
    // and that code's extra bits.
    var symbols = [], lengthExtras = [], distanceCodes = [], distanceExtras = [];
    var literalCounts = new Array(286).fill(0), distanceCounts = new Array(30).fill(0);
    function literal(b) {
      symbols.push(b);
      lengthExtras.push(0);
      distanceCodes.push(-1);
      distanceExtras.push(0);
      literalCounts[b]++;
    }
    function match(length, distance) {
      var l = lengthBase.length - 1, d = distanceBase.length - 1;
      while (lengthBase[l] > length) l--;
      while (distanceBase[d] > distance) d--;
      symbols.push(257 + l);
      lengthExtras.push(length - lengthBase[l]);
      distanceCodes.push(d);
      distanceExtras.push(distance - distanceBase[d]);
      literalCounts[257 + l]++;
      distanceCounts[d]++;
    }
    for (var i = 0, pause = 0; i < n;) {
      if (++pause % 2048 === 0) yield;
      var found = longest(i);
      insert(i);
      if (found[0] && found[0] < lazyBelow && longest(i + 1)[0] > found[0]) found = [0, 0];
      if (!found[0]) {
        literal(bytes[i]);
        i++;
        continue;
      }
      match(found[0], found[1]);
      for (var k = 1; k < found[0]; k++) insert(i + k);
      i += found[0];
    }
    symbols.push(256);   // the end of the block
    lengthExtras.push(0);
    distanceCodes.push(-1);
    distanceExtras.push(0);
    literalCounts[256]++;

    // The bits the tokens take in codes of these lengths.
    function tokenBits(literalLengths, distanceLengths) {
      var bits = 0;
      for (var t = 0; t < symbols.length; t++) {
        var sym = symbols[t];
        bits += literalLengths[sym];
        if (sym > 256) {
          bits += lengthExtra[sym - 257] + distanceLengths[distanceCodes[t]] + distanceExtra[distanceCodes[t]];
        }
      }
      return bits;
    }

    // The codes made for these tokens, and the header that describes them.
    var literalLengths = codeLengths(literalCounts, 15), distanceLengths = codeLengths(distanceCounts, 15);
    var literalsSent = 286, distancesSent = 30;
    while (literalsSent > 257 && literalLengths[literalsSent - 1] === 0) literalsSent--;
    while (distancesSent > 1 && distanceLengths[distancesSent - 1] === 0) distancesSent--;
    var runs = runLengths(literalLengths.slice(0, literalsSent).concat(distanceLengths.slice(0, distancesSent)));
    var runCounts = new Array(19).fill(0);
    runs.forEach(function (run) { runCounts[run[0]]++; });
    var runLengthsCode = codeLengths(runCounts, 7), runsSent = 19;
    while (runsSent > 4 && runLengthsCode[lengthOrder[runsSent - 1]] === 0) runsSent--;
    var headerBits = 14 + 3 * runsSent;
    runs.forEach(function (run) { headerBits += runLengthsCode[run[0]] + run[1]; });
    yield;
    var dynamic = headerBits + tokenBits(literalLengths, distanceLengths) <
      tokenBits(fixedLengths, fixedDistances);
    yield;

    var out = [], buffer = 0, count = 0;
    function put(value, bits) {   // least significant bit first
      buffer |= value << count;
      count += bits;
      while (count >= 8) {
        out.push(buffer & 255);
        buffer >>>= 8;
        count -= 8;
      }
    }
    put(1, 1);   // the final block
    if (dynamic) {
      put(2, 2);
      put(literalsSent - 257, 5);
      put(distancesSent - 1, 5);
      put(runsSent - 4, 4);
      for (var o = 0; o < runsSent; o++) put(runLengthsCode[lengthOrder[o]], 3);
      var runCodes = codesFor(runLengthsCode);
      runs.forEach(function (run) {
        put(runCodes[run[0]], runLengthsCode[run[0]]);
        put(run[2], run[1]);
      });
    } else {
      put(1, 2);
      literalLengths = fixedLengths;
      distanceLengths = fixedDistances;
    }
    var literalCodes = codesFor(literalLengths), distanceCodesSent = codesFor(distanceLengths);
    for (var t = 0; t < symbols.length; t++) {
      if (t % 65536 === 65535) yield;
      var sym = symbols[t];
      put(literalCodes[sym], literalLengths[sym]);
      if (sym <= 256) continue;
      put(lengthExtras[t], lengthExtra[sym - 257]);
      var d = distanceCodes[t];
      put(distanceCodesSent[d], distanceLengths[d]);
      put(distanceExtras[t], distanceExtra[d]);
    }
    if (count > 0) out.push(buffer & 255);
    return new Uint8Array(out);
  }

  deflateRaw = function (bytes) {
    var steps = deflating(bytes), step;
    while (!(step = steps.next()).done);
    return step.value;
  };

  deflateRawSoon = function (bytes) {
    var steps = deflating(bytes);
    return new Promise(function (resolve, reject) {
      (function slice() {
        var until = performance.now() + 10;
        try {
          for (var step = steps.next(); !step.done; step = steps.next())
            if (performance.now() >= until) return setTimeout(slice, 0);
          resolve(step.value);
        } catch (e) {
          reject(e);
        }
      })();
    });
  };
})();
