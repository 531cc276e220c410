// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The sound cues through Web Audio. Each is decoded once, from the bytes inlined in the page; one
// that cannot be decoded says so once in the console and stays silent. Nothing waits for a cue,
// and a new one stops the one still sounding.
var Buffon = window.Buffon || {};

Buffon.makeSound = function (names) {
  'use strict';
  const decoder = new OfflineAudioContext(1, 1, 44100);
  const decoded = {};
  const ready = {};
  let output = null;
  let sounding = null;
  let latest = null;

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

  for (const name of names) {
    ready[name] = decoder.decodeAudioData(Buffon.inlinedBytes(name).buffer).then(
      (buffer) => { decoded[name] = buffer; },
      (failure) => console.warn('The sound cue ' + name + ' cannot be decoded (' +
        failure.message + '); it stays silent.'));
  }

  return {
    play(name) {
      // Browsers let a page sound only from a click or a key on it, such as this one.
      output = output || new AudioContext();
      latest = name;
      stop();
      if (decoded[name]) {
        start(name);
        return;
      }
      ready[name].then(() => {
        if (latest === name && decoded[name]) {
          start(name);
        }
      });
    },
  };
};
