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

// The painter: a worker of the page's own that owns the canvas (an
// OffscreenCanvas) and shows the rows the presenter posts to it in shared
// memory, so that neither the browser's thread nor the page's layout takes
// part in a frame. It runs as the worker's whole source: it sees nothing of
// this file. A window's mailbox (WebWindowSystem::PainterMailbox) is eight
// 32-bit numbers: sequence, done, closing, pixels, width, height, runs
// (first and last row each), run count.
function krgfxPainter() {
  var canvas, context, image, heap, heap32, frames;
  function paint(box) {
    var pixels = heap32[box + 3] >>> 0, width = heap32[box + 4], height = heap32[box + 5];
    var runs = (heap32[box + 6] >>> 0) >> 2, count = heap32[box + 7];
    if (!image || image.width != width || image.height != height)
      image = context.createImageData(width, height);
    var rowBytes = width * 4;
    for (var run = 0; run < count; run++) {
      var first = heap32[runs + run * 2], rows = heap32[runs + run * 2 + 1] - first + 1;
      var start = first * rowBytes;
      image.data.set(heap.subarray(pixels + start, pixels + start + rows * rowBytes), start);
      context.putImageData(image, 0, 0, 0, first, width, rows);
    }
    Atomics.add(frames, 0, 1);
  }
  // Takes every round posted to the mailbox until the window closes.
  function serve(box) {
    var sequence = Atomics.load(heap32, box);
    var closing = heap32[box + 2];
    if (sequence != Atomics.load(heap32, box + 1)) {
      if (!closing) paint(box);
      Atomics.store(heap32, box + 1, sequence);
      Atomics.notify(heap32, box + 1);
    }
    if (closing) return;
    var wait = Atomics.waitAsync(heap32, box, sequence);
    if (wait.async)
      wait.value.then(function() { serve(box); });
    else
      serve(box);
  }
  self.onmessage = function(event) {
    var message = event.data;
    if (message.canvas) {
      canvas = message.canvas;
      context = canvas.getContext('2d', {alpha: false, desynchronized: true});
      heap = new Uint8Array(message.memory);
      heap32 = new Int32Array(message.memory);
      frames = new Int32Array(message.frames);
    }
    if (message.mailbox) {
      // A new window: the canvas takes its size and starts black.
      canvas.width = message.width;
      canvas.height = message.height;
      context.fillStyle = 'black';
      context.fillRect(0, 0, message.width, message.height);
      serve(message.mailbox >> 2);
    }
    if (message.read) {
      var r = message.read;
      var pixels = context.getImageData(r[0], r[1], r[2], r[3]).data;
      self.postMessage({read: message.id, pixels: pixels}, [pixels.buffer]);
    }
  };
}

// Shows the canvas at a new window's size; 1 when the painter paints it,
// 0 when the browser's thread does (a browser that cannot hand a canvas to
// a worker or wait for shared memory there, or a page asked for it with
// KRGFX_WEB_PAINTER=0 in its query).
Module['krgfxShowCanvas'] = function(width, height, mailbox) {
  var canvas = document.getElementById('canvas');
  canvas.style.width = width + 'px';
  canvas.style.height = height + 'px';
  if (canvas.focus) canvas.focus();
  var painter = Module['krgfxPainter'];
  var wanted = new URLSearchParams(location.search).get('KRGFX_WEB_PAINTER') != '0';
  if (!painter && wanted && canvas.transferControlToOffscreen && Atomics.waitAsync &&
      !Module['krgfxContext']) {
    canvas.width = width;
    canvas.height = height;
    var offscreen = canvas.transferControlToOffscreen();
    var source = new Blob(['(' + krgfxPainter + ')()'], {type: 'text/javascript'});
    painter = Module['krgfxPainter'] = new Worker(URL.createObjectURL(source));
    var frames = new Int32Array(new SharedArrayBuffer(4));
    Object.defineProperty(Module, 'krgfxFrames', {get: function() { return frames[0]; }});
    var reads = Module['krgfxReads'] = {};
    painter.onmessage = function(event) {
      reads[event.data.read](event.data.pixels);
      delete reads[event.data.read];
    };
    painter.postMessage({canvas: offscreen, memory: HEAPU8.buffer, frames: frames.buffer},
                        [offscreen]);
  }
  if (painter) {
    painter.postMessage({mailbox: mailbox, width: width, height: height});
    return 1;
  }
  canvas.width = width;
  canvas.height = height;
  var context = canvas.getContext('2d', {alpha: false, desynchronized: true});
  context.fillStyle = 'black';
  context.fillRect(0, 0, width, height);
  Module['krgfxContext'] = context;
  return 0;
};

// The canvas's pixels (RGBA) in a rectangle, as a promise: what the page
// shows, for a test or a screenshot of the program.
Module['krgfxCanvasPixels'] = function(x, y, width, height) {
  var painter = Module['krgfxPainter'];
  if (!painter) {
    var context = document.getElementById('canvas').getContext('2d');
    return Promise.resolve(context.getImageData(x, y, width, height).data);
  }
  var id = Module['krgfxReadCount'] = (Module['krgfxReadCount'] || 0) + 1;
  return new Promise(function(resolve) {
    Module['krgfxReads'][id] = resolve;
    painter.postMessage({read: [x, y, width, height], id: id});
  });
};
