// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The window scaled as one picture to fit the browser's window, from a phone held upright to a
// projector, and kept there as that window is resized or moved to a screen of another density.
var Buffon = window.Buffon || {};

// Calls `onRatio` with the board's device pixels to a pixel of the layout whenever they change;
// returns a call that stops the fitting.
Buffon.fitToScreen = function (form, design, onRatio) {
  'use strict';
  const [width, height] = design.clientSize;
  const board = design.controls.find((control) => control.role === 'board').place;
  const areaLeft = board[0] + design.boardEdge;
  const areaTop = board[1] + design.boardEdge;
  let densityQuery = null;

  // Where the window goes so that the board's drawing area starts on a whole device pixel,
  // the board's pixels then lying one on one on the screen's: at most half a device pixel from
  // the middle of the browser's window.
  function offset(room, size, scale, area, ratio) {
    const centred = (room - size * scale) / 2;
    return Math.round((centred + area * scale) * ratio) / ratio - area * scale;
  }

  function fit() {
    const scale = Math.min(innerWidth / width, innerHeight / height);
    const ratio = devicePixelRatio || 1;
    const left = offset(innerWidth, width, scale, areaLeft, ratio);
    const top = offset(innerHeight, height, scale, areaTop, ratio);
    form.style.transform = `translate(${left}px, ${top}px) scale(${scale})`;
    document.documentElement.style.setProperty('--scale', scale);
    onRatio(scale * ratio);
    watchDensity();
  }

  function watchDensity() {
    if (densityQuery) {
      densityQuery.removeEventListener('change', fit);
    }
    densityQuery = matchMedia(`(resolution: ${devicePixelRatio}dppx)`);
    densityQuery.addEventListener('change', fit);
  }

  addEventListener('resize', fit);
  fit();
  return function stop() {
    removeEventListener('resize', fit);
    densityQuery.removeEventListener('change', fit);
  };
};
