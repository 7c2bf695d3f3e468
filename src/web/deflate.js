// deflateRaw(bytes): the bytes compressed as raw deflate (RFC 1951), which
// the browser's DecompressionStream('deflate-raw') reads back. One final
// block with the fixed Huffman codes; matches come from hash chains over
// the 32 KB window, and a short one waits a symbol for a longer one.
//
// Each engine's own CompressionStream compresses the same string to a
// different length, one to twice another's; this gives every engine the
// same, short address.
var deflateRaw = (function () {
  var lengthBase = [3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31, 35, 43, 51, 59, 67, 83, 99, 115,
                    131, 163, 195, 227, 258];
  var lengthExtra = [0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0];
  var distanceBase = [1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193, 257, 385, 513, 769, 1025, 1537,
                      2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577];
  var distanceExtra = [0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12,
                       13, 13];
  var windowSize = 32768, longestMatch = 258, chainSteps = 256, lazyBelow = 32;

  return function (bytes) {
    var out = [], buffer = 0, count = 0, n = bytes.length;
    function put(value, bits) {   // least significant bit first
      buffer |= value << count;
      count += bits;
      while (count >= 8) {
        out.push(buffer & 255);
        buffer >>>= 8;
        count -= 8;
      }
    }
    function putCode(code, bits) {   // a Huffman code: most significant bit first
      for (var i = bits - 1; i >= 0; i--) put(code >> i & 1, 1);
    }
    function symbol(s) {   // the fixed literal/length code
      if (s < 144) putCode(0x30 + s, 8);
      else if (s < 256) putCode(0x190 + s - 144, 9);
      else if (s < 280) putCode(s - 256, 7);
      else putCode(0xc0 + s - 280, 8);
    }
    function match(length, distance) {
      var l = lengthBase.length - 1, d = distanceBase.length - 1;
      while (lengthBase[l] > length) l--;
      symbol(257 + l);
      put(length - lengthBase[l], lengthExtra[l]);
      while (distanceBase[d] > distance) d--;
      putCode(d, 5);
      put(distance - distanceBase[d], distanceExtra[d]);
    }

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

    put(1, 1);   // the final block,
    put(1, 2);   // in the fixed codes
    for (var i = 0; i < n;) {
      var found = longest(i);
      insert(i);
      if (found[0] && found[0] < lazyBelow && longest(i + 1)[0] > found[0]) found = [0, 0];
      if (!found[0]) {
        symbol(bytes[i]);
        i++;
        continue;
      }
      match(found[0], found[1]);
      for (var k = 1; k < found[0]; k++) insert(i + k);
      i += found[0];
    }
    symbol(256);   // the end of the block
    if (count > 0) out.push(buffer & 255);
    return new Uint8Array(out);
  };
})();
