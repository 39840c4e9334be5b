// node asyncify-list.js PROBE.js OUTPUT SESSION.in...
// Runs the probe build of the page's program on each recorded session's
// input, a line at a time as the line discipline hands lines over, then the
// end of input, and writes the names of the WebAssembly functions found on
// the stack at any read, one a line: the only functions Asyncify needs to
// instrument. A comma in a name becomes the list's wildcard '*', as
// emscripten splits its lists at commas.
'use strict';
const fs = require('fs');

Error.stackTraceLimit = Infinity;
// Each run of the program, built for node, listens on the process.
process.setMaxListeners(0);
const [probe, output, ...sessions] = process.argv.slice(2);
const createProgram = require(probe);
const wasm = new WebAssembly.Module(fs.readFileSync(probe.replace(/\.js$/, '.wasm')));
const names = new Set();
let ended = 0;

function run(input) {
  const lines = [];
  let line = [];
  for (const byte of fs.readFileSync(input)) {
    line.push(byte);
    if (byte === 10) {
      lines.push(line);
      line = [];
    }
  }
  if (line.length > 0) lines.push(line);
  lines.push([]);
  return new Promise(function (resolve) {
    let readable = null;
    createProgram({
      pty: {onReadable: function (listener) { readable = listener; },
            read: function () { return lines.shift(); },
            write: function () {}},
      onRead: function (stack) {
        for (const found of stack.matchAll(/^\s*at (.*) \(wasm:\/\//gm)) names.add(found[1]);
      },
      onProgramEnd: resolve,
      // As on the page: instantiated at once, so the first read waits.
      instantiateWasm: function (imports, receive) {
        receive(new WebAssembly.Instance(wasm, imports));
        return {};
      },
    });
    (function feed() {
      if (lines.length === 0) return;
      readable();
      setTimeout(feed, 0);
    })();
  });
}

(async function () {
  for (const session of sessions) {
    await run(session);
    ended++;
  }
  if (names.size === 0) throw new Error('no read was seen');
  fs.writeFileSync(output, [...names].sort().map(name => name.replace(/,/g, '*') + '\n').join(''));
})();

process.on('exit', function () {
  if (ended !== sessions.length) {
    console.error(`asyncify-list.js: ${sessions.length - ended} session(s) did not end`);
    process.exitCode = 1;
  }
});
