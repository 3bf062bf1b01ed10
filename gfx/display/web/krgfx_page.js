// Added to every krgfx web page. The page's query sets the runtime's
// environment variables (game.html?KRGFX=GDI&KRGFX_SCALE=2), and the
// program's end is noted where the page (and a test driving it) can see it.
Module['preRun'] = [].concat(Module['preRun'] || [], function() {
  if (typeof location == 'undefined') return;
  new URLSearchParams(location.search).forEach(function(value, name) {
    if (name.indexOf('KRGFX') == 0) ENV[name] = value;
  });
});
Module['onExit'] = function(status) {
  Module['krgfxExitStatus'] = status;
  if (typeof document != 'undefined') document.title += ' (ended: ' + status + ')';
};
