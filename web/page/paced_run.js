// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// A run whose needles fall at a pace, stepped by the screen's frames: each frame throws the
// needles the pace owes by the time gone since the run began, so a frame late or a tab in the
// background loses no needle, and the browser stays free for clicks between frames.
var Buffon = window.Buffon || {};

// `needles` is the module's run (fall, finish, stop); `onStep` shows what fell, `onEnd` the
// finished run.
Buffon.makePacedRun = function (needles, onStep, onEnd) {
  'use strict';
  let running = null;

  function step(now) {
    const owed = running.pace ? Math.min(running.size,
      running.from + Math.floor((now - running.began) * running.pace / 1000)) : running.size;
    if (owed > running.fallen) {
      needles.fall(owed - running.fallen);
      running.fallen = owed;
    }
    if (running.fallen < running.size) {
      running.frame = requestAnimationFrame(step);
      onStep();
      return;
    }
    running = null;
    needles.finish();
    onEnd();
  }

  return {
    // Steps a run the module has begun, of `size` needles at `pace` a second.
    start(size, pace) {
      running = { size, pace, fallen: 0, from: 0, began: performance.now() };
      running.frame = requestAnimationFrame(step);
    },
    running: () => running !== null,
    // A new pace for the run going on, from the needles fallen so far; 0 throws the rest at once.
    setPace(pace) {
      if (running) {
        Object.assign(running, { pace, from: running.fallen, began: performance.now() });
      }
    },
    // Stops the run going on, if any, its fallen needles counted; says whether one was.
    stop() {
      if (!running) {
        return false;
      }
      cancelAnimationFrame(running.frame);
      running = null;
      needles.stop();
      return true;
    },
  };
};
