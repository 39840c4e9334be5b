// Only in the probe build (asyncify-list.js): every read hands its call
// stack to the runner before it waits.
var readWithoutProbe = _fd_read;
_fd_read = function () {
  Module.onRead(new Error().stack);
  return readWithoutProbe.apply(null, arguments);
};
