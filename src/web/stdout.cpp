// The program's standard output in the page. The browser's terminal takes
// a write one byte at a time, a JavaScript call and an array element each:
// a million-symbol string cost a tenth of a second and as much again in
// garbage. Here a write is cut at its newlines and each line is decoded
// in one piece. Standard error keeps the terminal's own way.
#include "web/stdout.h"

#include <emscripten.h>

namespace {

EM_JS(void, takeOverStandardOutput, (), {
    var ops = TTY.stream_ops, write = ops.write, lineOps = TTY.default_tty_ops, flush = lineOps.flush;
    var pending = [], size = 0;   // the line so far, as copies of what was written
    function line() {
        var bytes = new Uint8Array(size), at = 0;
        pending.forEach(function (part) { bytes.set(part, at); at += part.length; });
        pending = [];
        size = 0;
        // The terminal leaves out zero bytes, which would end the text.
        return UTF8ArrayToString(bytes.indexOf(0) < 0 ? bytes : bytes.filter(function (b) { return b !== 0; }), 0);
    }
    ops.write = function (stream, buffer, offset, length) {
        if (!stream.tty || stream.tty.ops !== lineOps) return write.apply(this, arguments);
        var bytes = new Uint8Array(buffer.buffer, buffer.byteOffset + offset, length), start = 0;
        for (var newline = bytes.indexOf(10); newline >= 0; newline = bytes.indexOf(10, start)) {
            pending.push(bytes.slice(start, newline));
            size += newline - start;
            out(line());
            start = newline + 1;
        }
        if (start < length) {
            pending.push(bytes.slice(start));
            size += length - start;
        }
        if (length) stream.node.timestamp = Date.now();
        return length;
    };
    lineOps.flush = function (tty) {
        if (size) out(line());
        flush(tty);
    };
});

} // namespace

void printWholeLines() { takeOverStandardOutput(); }
