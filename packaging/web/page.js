// The page around the program: one terminal, the program started in it
// over a pseudo-terminal, and what a console window cannot do (keep the
// last screen when the program ends, start it again).
(function () {
  'use strict';

  // A console's 80 by 25 where the window is wide enough; on a narrow phone
  // fewer columns, but never fewer than the 45 of the menu, with the font
  // made smaller (never below 10 px) to fit them.
  var ROWS = 25;
  var MOST_COLUMNS = 80;
  var FEWEST_COLUMNS = 45;
  var FONT_PX = 15;
  var SMALLEST_FONT_PX = 10;

  var box = document.getElementById('terminal');
  var ended = document.getElementById('ended');
  var again = document.getElementById('again');
  // On a touch screen the typing goes into a plain line of the page: phone
  // keyboards deliver text in ways the terminal's own input does not all
  // take, and a line sent whole with Enter is what the program reads anyway.
  var line = document.getElementById('line');
  var field = matchMedia('(pointer: coarse)').matches ? line.elements[0] : null;
  if (field) line.hidden = false;

  function focusTyping() {
    if (field) field.focus();
    else terminal.focus();
  }

  // The width of one character cell of the page's monospace font, per pixel
  // of font size.
  function cellWidthPerPx() {
    var probe = document.createElement('span');
    probe.style.cssText = 'position:absolute;visibility:hidden;white-space:pre;' +
        'font-family:' + getComputedStyle(box).fontFamily + ';font-size:100px';
    probe.textContent = '0123456789';
    document.body.appendChild(probe);
    var width = probe.getBoundingClientRect().width / 1000;
    probe.remove();
    return width;
  }

  function layout() {
    var room = box.clientWidth;
    var perPx = cellWidthPerPx();
    var fontPx = FONT_PX;
    var columns = Math.floor(room / (perPx * fontPx));
    if (columns < FEWEST_COLUMNS) {
      columns = FEWEST_COLUMNS;
      fontPx = Math.max(SMALLEST_FONT_PX, Math.floor(room / (perPx * columns)));
    }
    return {fontSize: fontPx, cols: Math.min(columns, MOST_COLUMNS)};
  }

  var size = layout();
  var terminal = new Terminal({
    rows: ROWS,
    cols: size.cols,
    fontSize: size.fontSize,
    fontFamily: getComputedStyle(box).fontFamily,
    // The text of the screen goes to an accessibility tree as well, for
    // screen readers.
    screenReaderMode: true,
    scrollback: 1000,
  });

  // Ctrl+C with text selected copies it, as in Windows Terminal: xterm.js
  // leaves the key to the browser, whose copy takes the selection. Without
  // a selection it goes on to the line discipline, which ends the program.
  terminal.attachCustomKeyEventHandler(function (event) {
    return !(event.type === 'keydown' && event.ctrlKey && !event.altKey &&
             (event.key === 'c' || event.key === 'C') && terminal.hasSelection());
  });

  var master = null;

  function start() {
    if (master) master.dispose();
    terminal.reset();
    terminal.options.disableStdin = false;
    if (field) field.disabled = false;
    ended.hidden = true;
    var pty = openpty();
    master = pty.master;
    terminal.loadAddon(master);
    var running = true;
    // The last screen stays, but takes no more typing, and its cursor goes:
    // nothing reads what would be typed there.
    function end() {
      if (!running) return;
      running = false;
      terminal.options.disableStdin = true;
      if (field) field.disabled = true;
      terminal.write('\x1b[?25l');
      ended.hidden = false;
      again.focus();
    }
    // Ctrl+C: the program is left waiting for ever and dropped.
    pty.slave.onSignal(function (signal) {
      if (signal === 'SIGINT' || signal === 'SIGQUIT') end();
    });
    createDalemira({
      pty: pty.slave,
      onProgramEnd: end,
      instantiateWasm: function (imports, receive) {
        var instance = null;
        try { instance = new WebAssembly.Instance(programModule, imports); } catch (refused) {}
        if (instance) receive(instance);
        else WebAssembly.instantiate(programBytes, imports).then(function (made) { receive(made.instance); });
        return {};
      },
    });
  }

  again.addEventListener('click', function () {
    start();
    focusTyping();
  });
  // A click beside the terminal would otherwise leave the typing nowhere.
  // On a touch screen a tap anywhere gives the field the focus, from the
  // tap's own handlers, the only place where iOS opens the keyboard.
  document.addEventListener('click', function (event) {
    if (ended.hidden && (field || !box.contains(event.target))) focusTyping();
  });
  // The program writes its first screen before the terminal is on the
  // page; it waits in the terminal.
  start();
  terminal.open(box);
  // The typing goes there once that screen is drawn: a focus sooner makes
  // the browser lay the page out once more before drawing it, about 3 ms.
  var firstScreen = terminal.onRender(function () {
    firstScreen.dispose();
    setTimeout(focusTyping);
  });

  // In screen-reader mode xterm.js drops text that comes with no key (voice
  // typing, the emoji panel, the Windows touch keyboard): it goes in here.
  // What a key brought, xterm.js has sent already, from the key itself or,
  // with an input method's key (229), from what it added to the text area.
  var key = null;
  var sentSinceKey = false;
  document.addEventListener('keydown', function (event) {
    key = event;
    sentSinceKey = false;
  }, true);
  document.addEventListener('keyup', function () { key = null; }, true);
  terminal.onData(function () { sentSinceKey = true; });
  terminal.textarea.addEventListener('input', function (event) {
    if (event.inputType === 'insertText' && event.data &&
        !(key && (sentSinceKey || key.keyCode === 229))) {
      terminal.input(event.data);
    }
  });

  if (!field) return;
  // The line as if typed, so the terminal echoes it, then Enter; the field
  // keeps the focus and with it the keyboard. A form's submit comes however
  // a phone keyboard gives its Enter, as a key or as an action with none.
  line.addEventListener('submit', function (event) {
    event.preventDefault();
    terminal.input(field.value + '\r');
    field.value = '';
    field.focus();
  });
  // A tap on the terminal focuses its own input (xterm.js's mousedown): the
  // focus goes on from there to the field, or after the end to the button,
  // so that input takes no typing here and opens no keyboard.
  terminal.textarea.addEventListener('focus', function () {
    (field.disabled ? again : field).focus();
  });
  // With the keyboard up only part of the page shows: the field goes to its
  // bottom, and with it the rows just above, where the line being answered is.
  if (window.visualViewport) {
    window.visualViewport.addEventListener('resize', function () {
      if (document.activeElement === field) field.scrollIntoView({block: 'nearest'});
    });
  }
})();
