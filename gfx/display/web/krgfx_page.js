// Added to every krgfx web page: the program's end is noted where the page
// (and a test driving it) can see it.
Module['onExit'] = function(status) {
  Module['krgfxExitStatus'] = status;
  if (typeof document !== 'undefined') document.title += ' (ended: ' + status + ')';
};
