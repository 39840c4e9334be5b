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
      terminal.write('\x1b[?25l');
      ended.hidden = false;
      again.focus();
    }
    // Ctrl+C: the program is left waiting for ever and dropped.
    pty.slave.onSignal(function (signal) {
      if (signal === 'SIGINT' || signal === 'SIGQUIT') end();
    });
    createDalemira({pty: pty.slave, onProgramEnd: end});
    terminal.focus();
  }

  again.addEventListener('click', start);
  // A click beside the terminal would otherwise leave the typing nowhere.
  document.addEventListener('click', function (event) {
    if (ended.hidden && !box.contains(event.target)) terminal.focus();
  });
  // The program compiles in the background while the terminal is put on
  // the page; what it writes meanwhile waits in the terminal.
  start();
  terminal.open(box);
  terminal.focus();
})();
