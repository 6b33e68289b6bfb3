// The page around the show: loads the program (dedoz.js, .wasm, .data), starts it on
// a click or a key (a user gesture, which the browser's audio needs) or at once with
// #autostart, and shows its end. Hash options, joined with '&':
//   autostart   start as soon as the program is loaded, without a gesture
//   from=MS     start at show time MS milliseconds (the scenes are stepped there first)
//   stats       log the frame count, the show time and the mean work per frame every 60 frames
// For tests and the sound code, window.dedoz holds the page's state:
//   state        'loading', 'ready', 'playing', 'ended' or 'failed'
//   loadMs       milliseconds from navigation to the program being ready to start
//   frames       frames shown so far; showTime: the show's clock at the last frame (ms)
//   workMs       milliseconds spent inside the frames so far (the waits between excluded)
//   startedAt, endedAt  performance.now() at the first frame and at the end
//   gestureHooks functions called inside the starting click or key press (audio)
'use strict';

var dedoz = {
  state: 'loading',
  loadMs: null,
  frames: 0,
  showTime: 0,
  workMs: 0,
  startedAt: null,
  endedAt: null,
  gestureHooks: [],
  options: {},
};

(function () {
  var canvas = document.getElementById('show');
  var overlay = document.getElementById('overlay');
  var status = document.getElementById('status');
  var controls = document.getElementById('controls');

  location.hash.replace(/^#/, '').split('&').forEach(function (part) {
    if (!part) return;
    var eq = part.indexOf('=');
    if (eq < 0) dedoz.options[part] = true;
    else dedoz.options[part.slice(0, eq)] = decodeURIComponent(part.slice(eq + 1));
  });
  var from = parseInt(dedoz.options.from, 10);
  var stopping = false;  // Escape or Stop, rather than the show's end

  function setState(state, text) {
    dedoz.state = state;
    status.textContent = text;
  }

  // The drawing buffer takes the window's size (CSS pixels) once, at the start: the
  // show picks its render size from it and letterboxes its frame into it.
  function sizeCanvas() {
    canvas.width = Math.max(1, Math.round(window.innerWidth));
    canvas.height = Math.max(1, Math.round(window.innerHeight));
  }

  function start(fromGesture) {
    if (dedoz.state !== 'ready') return;
    if (fromGesture) dedoz.gestureHooks.forEach(function (hook) { hook(); });
    overlay.hidden = true;
    controls.hidden = false;
    setState('starting', '');
    sizeCanvas();
    canvas.focus();
    try {
      Module.callMain([]);
    } catch (error) {
      console.error(String(error));
    }
    // main hands the show to the page's timer before it returns; when it returns
    // without, the start failed and its lines are in the console.
    if (dedoz.state === 'starting') {
      setState('failed', 'The show could not start (see the console).');
      end();
    }
  }

  function end() {
    overlay.hidden = false;
    overlay.querySelector('.hint').textContent = 'Reload the page to see it again.';
    controls.hidden = true;
    if (document.fullscreenElement) document.exitFullscreen();
  }

  window.Module = {
    canvas: canvas,
    noInitialRun: true,
    dedozStartMs: from > 0 ? from : 0,
    dedozStopAsked: false,
    print: function (text) { console.log(text); },
    // emscripten's notices that its GL emulation is in use are not errors.
    printErr: function (text) {
      if (/^WARNING: using emscripten GL/.test(text)) console.info(text);
      else console.error(text);
    },
    onRuntimeInitialized: function () {
      dedoz.loadMs = Math.round(performance.now());
      setState('ready', dedoz.options.autostart ? 'Starting…' : 'Ready');
      if (dedoz.options.autostart) start(false);
    },
    dedozShowStarted: function () {
      dedoz.state = 'playing';
      dedoz.startedAt = performance.now();
    },
    dedozFrame: function (frames, showTime, workMs) {
      dedoz.frames = frames;
      dedoz.showTime = showTime;
      dedoz.workMs += workMs;
      if (dedoz.options.stats && frames % 60 === 0) {
        console.log('frames ' + frames + ', show time ' + showTime + ' ms, ' +
                    (dedoz.workMs / frames).toFixed(1) + ' ms of work per frame');
      }
    },
    dedozShowEnded: function (failed) {
      dedoz.endedAt = performance.now();
      if (failed) setState('failed', 'The show stopped on an error (see the console).');
      else setState('ended', stopping ? 'Stopped.' : 'The end.');
      end();
    },
  };

  overlay.addEventListener('click', function () { start(true); });
  window.addEventListener('keydown', function (event) {
    if (dedoz.state === 'ready' && !overlay.hidden) {
      event.preventDefault();
      start(true);
    } else if (event.key === 'Escape' && dedoz.state === 'playing') {
      // The show reads Escape itself; this only names the ending.
      stopping = true;
    }
  });
  document.getElementById('stop').addEventListener('click', function () {
    stopping = true;
    Module.dedozStopAsked = true;
  });
  document.getElementById('fullscreen').addEventListener('click', function () {
    if (document.fullscreenElement) document.exitFullscreen();
    else document.documentElement.requestFullscreen().catch(function () {});
    canvas.focus();
  });
  window.addEventListener('error', function () {
    if (dedoz.state === 'loading') setState('failed', 'The program could not be loaded.');
  });

  var script = document.createElement('script');
  script.src = 'dedoz.js';
  document.body.appendChild(script);
})();
