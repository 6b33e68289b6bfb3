// The page's side of the sound (an emscripten --js-library): MP3 decoding with the
// mpg123-decoder package, playback through one AudioContext, and the fft.js package's
// transform for the spectrum. Both packages arrive in sound-libs.js beside the
// program (web/sound.cmake bundles it), loaded before main runs. Called by
// Music/Browser/Player.cpp and RealFft.cpp; the calls made every frame
// (running, time, copy, fft execute) allocate nothing.
mergeInto(LibraryManager.library, {
  $dedozSound: {
    decoder: null,   // an MPEGDecoder, or null while it is not ready
    sounds: {},      // id -> {buffer: AudioBuffer or null, first: Float32Array (channel 0)}
    ffts: {},        // id -> {fft, input: Float64Array(size), output: Float64Array(2 * size)}
    nextId: 1,
    context: null,   // the AudioContext
    source: null,    // the playing AudioBufferSourceNode
    gestures: ['pointerdown', 'keydown', 'touchend', 'click'],
    resume: function() {
      if (dedozSound.context && dedozSound.context.state === 'suspended')
        dedozSound.context.resume().catch(function() {});
    },
    // Loads sound-libs.js and readies the decoder; main waits for it.
    load: function() {
      if (typeof document === 'undefined')
        return;  // not a page: no decoder, no FFT
      addRunDependency('dedoz-sound');
      var script = document.createElement('script');
      script.src = locateFile('sound-libs.js');
      script.charset = 'UTF-8';
      var done = function() { removeRunDependency('dedoz-sound'); };
      script.onerror = function() {
        err('sound-libs.js could not be loaded: the show runs without sound or spectrum');
        done();
      };
      script.onload = function() {
        var decoder = new globalThis['mpg123-decoder'].MPEGDecoder();
        decoder.ready.then(function() { dedozSound.decoder = decoder; done(); }, function() {
          err('The MP3 decoder could not be started.');
          done();
        });
      };
      document.head.appendChild(script);
    },
  },
  $dedozSound__postset: 'addOnPreRun(dedozSound.load);',

  dedoz_sound_decode__deps: ['$dedozSound'],
  dedoz_sound_decode: function(bytes, size) {
    var decoder = dedozSound.decoder;
    if (!decoder)
      return -1;
    var decoded;
    try {
      decoded = decoder.decode(HEAPU8.subarray(bytes, bytes + size));
    } catch (e) {
      return e instanceof RangeError ? -3 : -2;
    }
    // The decoder starts afresh for the next file; it is busy until then.
    dedozSound.decoder = null;
    decoder.reset().then(function() { dedozSound.decoder = decoder; }, function() {});
    var frames = decoded.samplesDecoded;
    if (!frames || !decoded.sampleRate)
      return -2;
    var channels = decoded.channelData;
    var buffer = null;
    if (typeof AudioBuffer !== 'undefined') {
      try {
        buffer = new AudioBuffer(
            {length: frames, numberOfChannels: channels.length, sampleRate: decoded.sampleRate});
      } catch (e) {
        return -3;
      }
      for (var c = 0; c < channels.length; ++c)
        buffer.copyToChannel(channels[c], c);
    }
    var id = dedozSound.nextId++;
    dedozSound.sounds[id] = {
      buffer: buffer,
      // The spectrum reads the buffer's own samples: one copy of the sound in memory.
      first: buffer ? buffer.getChannelData(0) : channels[0],
      rate: decoded.sampleRate,
    };
    return id;
  },

  dedoz_sound_frames__deps: ['$dedozSound'],
  dedoz_sound_frames: function(id) { return dedozSound.sounds[id].first.length; },

  dedoz_sound_rate__deps: ['$dedozSound'],
  dedoz_sound_rate: function(id) { return dedozSound.sounds[id].rate; },

  dedoz_sound_release__deps: ['$dedozSound'],
  dedoz_sound_release: function(id) { delete dedozSound.sounds[id]; },

  dedoz_sound_copy__deps: ['$dedozSound'],
  dedoz_sound_copy: function(id, endFrame, count, out) {
    var samples = dedozSound.sounds[id].first;
    var first = endFrame - count;
    var base = out >> 2;
    for (var j = 0; j < count; ++j) {
      var frame = first + j;
      HEAPF32[base + j] = frame >= 0 && frame < samples.length ? samples[frame] : 0;
    }
  },

  dedoz_audio_open__deps: ['$dedozSound'],
  dedoz_audio_open: function() {
    var Context = typeof window !== 'undefined' && (window.AudioContext || window.webkitAudioContext);
    if (!Context)
      return 0;
    try {
      dedozSound.context = new Context();
    } catch (e) {
      return 0;
    }
    // Browsers run a context only after a user gesture: until one comes the show
    // plays muted, on the page's clock, and the first gesture starts the sound.
    dedozSound.resume();
    dedozSound.gestures.forEach(function(name) {
      window.addEventListener(name, dedozSound.resume, true);
    });
    return 1;
  },

  dedoz_audio_close__deps: ['$dedozSound', 'dedoz_audio_stop'],
  dedoz_audio_close: function() {
    _dedoz_audio_stop();
    dedozSound.gestures.forEach(function(name) {
      window.removeEventListener(name, dedozSound.resume, true);
    });
    if (dedozSound.context)
      dedozSound.context.close().catch(function() {});
    dedozSound.context = null;
  },

  dedoz_audio_running__deps: ['$dedozSound'],
  dedoz_audio_running: function() {
    return dedozSound.context && dedozSound.context.state === 'running' ? 1 : 0;
  },

  dedoz_audio_time__deps: ['$dedozSound'],
  dedoz_audio_time: function() {
    // currentTime is the next block to be rendered; it is heard outputLatency later.
    var context = dedozSound.context;
    return context.currentTime - (context.outputLatency || 0);
  },

  dedoz_audio_play__deps: ['$dedozSound', 'dedoz_audio_stop'],
  dedoz_audio_play: function(id, offset) {
    _dedoz_audio_stop();
    var context = dedozSound.context;
    var sound = dedozSound.sounds[id];
    if (!sound.buffer)
      return context.currentTime - (context.outputLatency || 0);
    var source = context.createBufferSource();
    source.buffer = sound.buffer;
    source.connect(context.destination);
    var start = context.currentTime;
    source.start(start, Math.min(offset, sound.buffer.duration));
    dedozSound.source = source;
    // Heard on the clock of dedoz_audio_time when that clock reads start.
    return start;
  },

  dedoz_audio_stop__deps: ['$dedozSound'],
  dedoz_audio_stop: function() {
    var source = dedozSound.source;
    if (source) {
      source.stop();
      source.disconnect();
    }
    dedozSound.source = null;
  },

  dedoz_fft_create__deps: ['$dedozSound'],
  dedoz_fft_create: function(size) {
    if (typeof DedozFFT === 'undefined')
      return 0;
    var id = dedozSound.nextId++;
    dedozSound.ffts[id] = {
      fft: new DedozFFT(size),
      input: new Float64Array(size),
      output: new Float64Array(2 * size),
    };
    return id;
  },

  dedoz_fft_execute__deps: ['$dedozSound'],
  dedoz_fft_execute: function(id, input, output) {
    var plan = dedozSound.ffts[id];
    var size = plan.input.length;
    var from = input >> 2;
    for (var j = 0; j < size; ++j)
      plan.input[j] = HEAPF32[from + j];
    plan.fft.realTransform(plan.output, plan.input);
    // Bins 0 to size/2 as (re, im) pairs, as FFTW's real transform gives them.
    var to = output >> 2;
    for (var k = 0; k < size + 2; ++k)
      HEAPF32[to + k] = plan.output[k];
  },

  dedoz_fft_destroy__deps: ['$dedozSound'],
  dedoz_fft_destroy: function(id) { delete dedozSound.ffts[id]; },
});
