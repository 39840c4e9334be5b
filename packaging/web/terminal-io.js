// The program's standard input and output on the page: bytes go to and come
// from the slave side of an xterm-pty pseudo-terminal (Module.pty), whose
// line discipline echoes, edits and delivers lines as a Linux terminal in
// cooked mode does. Emscripten's own terminal has no line discipline and
// cannot wait for typing, so these calls replace its file descriptors 0 to 2.
mergeInto(LibraryManager.library, {
  // Every line the line discipline delivers, in order; an empty one is the
  // end of input (Ctrl+D at the start of a line), which a read returns as 0
  // bytes, once, as a terminal does.
  $terminalInput: {lines: [], waiting: null},
  $terminalInput__postset:
      'Module.pty.onReadable(function () {' +
      // It also fires with nothing to read: that is the end of input.
      '  terminalInput.lines.push(Module.pty.read());' +
      '  var wake = terminalInput.waiting;' +
      '  terminalInput.waiting = null;' +
      // Not from inside the line discipline: it may still be delivering
      // the rest of a pasted text, which the program must not overtake.
      // The program's end unwinds through here (see proc_exit).
      '  if (wake) queueMicrotask(function () {' +
      '    try { wake(); } catch (e) { if (e !== "unwind") throw e; }' +
      '  });' +
      '});',

  // Waits with Asyncify until a line is there, then copies as much of it as
  // the buffers take. musl's stdio asks with a first buffer of length 0.
  fd_read__deps: ['$terminalInput'],
  fd_read: function(fd, iov, iovcnt, pnum) {
    if (fd !== 0) return 8; // EBADF
    return Asyncify.handleSleep(function(wakeUp) {
      function deliver() {
        var line = terminalInput.lines[0];
        var count = 0;
        for (var i = 0; i < iovcnt && line.length > 0; i++) {
          var base = HEAPU32[(iov + i * 8) >> 2];
          var length = HEAPU32[(iov + i * 8 + 4) >> 2];
          var part = line.splice(0, length);
          HEAPU8.set(part, base);
          count += part.length;
        }
        if (line.length === 0) terminalInput.lines.shift();
        HEAPU32[pnum >> 2] = count;
        wakeUp(0);
      }
      if (terminalInput.lines.length > 0) deliver();
      else terminalInput.waiting = deliver;
    });
  },

  fd_write: function(fd, iov, iovcnt, pnum) {
    if (fd !== 1 && fd !== 2) return 8; // EBADF
    var bytes = [];
    for (var i = 0; i < iovcnt; i++) {
      var base = HEAPU32[(iov + i * 8) >> 2];
      var length = HEAPU32[(iov + i * 8 + 4) >> 2];
      for (var j = 0; j < length; j++) bytes.push(HEAPU8[base + j]);
    }
    Module.pty.write(bytes);
    HEAPU32[pnum >> 2] = bytes.length;
    return 0;
  },

  // The process ends: the page learns the status, and the throw unwinds the
  // program's stack as emscripten's own exit does.
  proc_exit: function(code) {
    Module.onProgramEnd(code);
    throw 'unwind';
  },
});
