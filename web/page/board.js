// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The board's canvas: one canvas pixel to a device pixel, so that a needle is one device pixel
// wide at any scale and density; the pixels are the module's board, put in as they are.
var Buffon = window.Buffon || {};

Buffon.makeBoard = function (canvas, needles) {
  'use strict';
  const context = canvas.getContext('2d');

  function paint() {
    const image = needles.boardImage();
    if (canvas.width !== image.width || canvas.height !== image.height) {
      canvas.width = image.width;
      canvas.height = image.height;
    }
    const scale = needles.boardScale();
    canvas.style.width = image.width / scale + 'px';
    canvas.style.height = image.height / scale + 'px';
    context.putImageData(image, 0, 0);
  }

  return {
    paint: paint,
    // The board drawn again in as many pixels as the screen gives it at this ratio.
    fit(screenRatio) {
      needles.fitBoard(screenRatio);
      paint();
    },
  };
};
