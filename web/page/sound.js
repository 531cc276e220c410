// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The sound cues through Web Audio. Each is decoded once, from the bytes inlined in the page; one
// that cannot be decoded says so once in the console and stays silent, as does the whole program
// where Web Audio is missing or fails. Nothing waits for a cue, and a new one stops the one still
// sounding.
var Buffon = window.Buffon || {};

Buffon.makeSound = function (names) {
  'use strict';
  const decoded = {};
  const ready = {};
  let output = null;
  let sounding = null;
  let latest = null;
  let working = true;

  // A browser without Web Audio, or a sound device that cannot be opened, leaves the program
  // silent, said once: nothing else stops for it.
  function fail(failure) {
    if (working) {
      working = false;
      console.warn('Sound cannot be played here (' + failure.message + '); the program goes on ' +
        'silent.');
    }
  }

  function stop() {
    if (sounding) {
      sounding.stop();
      sounding = null;
    }
  }

  function start(name) {
    stop();
    sounding = output.createBufferSource();
    sounding.buffer = decoded[name];
    sounding.connect(output.destination);
    sounding.start();
  }

  function heard(action) {
    try {
      action();
    } catch (failure) {
      fail(failure);
    }
  }

  heard(() => {
    const decoder = new OfflineAudioContext(1, 1, 44100);
    for (const name of names) {
      ready[name] = decoder.decodeAudioData(Buffon.inlinedBytes(name).buffer).then(
        (buffer) => { decoded[name] = buffer; },
        (failure) => console.warn('The sound cue ' + name + ' cannot be decoded (' +
          failure.message + '); it stays silent.'));
    }
  });

  return {
    play(name) {
      if (!working) {
        return;
      }
      latest = name;
      // Browsers let a page sound only from a click or a key on it, such as this one.
      heard(() => {
        output = output || new AudioContext();
        stop();
      });
      if (working && decoded[name]) {
        heard(() => start(name));
        return;
      }
      ready[name].then(() => {
        if (working && latest === name && decoded[name]) {
          heard(() => start(name));
        }
      });
    },
  };
};
