// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The window's events: the run buttons, Init and Exit. Each handler runs to its end: a run is
// one call into the module, so clicks and keys that come while it lasts wait in the browser's
// queue and are handled after it, in order.
var Buffon = window.Buffon || {};

Buffon.bindEvents = function (page) {
  'use strict';
  const { controls, needles, board } = page;
  // The estimate's decimal separator is the user's locale's, as on the desktop.
  const decimalSeparator = new Intl.NumberFormat().formatToParts(0.5)
    .find((part) => part.type === 'decimal').value;

  function showResults() {
    controls.estimateLabel.textContent = needles.estimateText();
    controls.countLabel.textContent = needles.countText();
    board.paint();
  }

  for (const { button, runSize } of controls.runButtons) {
    button.addEventListener('click', function () {
      needles.run(runSize, decimalSeparator);
      showResults();
      controls.announcer.textContent = needles.announcement();
    });
  }
  controls.initButton.addEventListener('click', function () {
    needles.resetBoard();
    showResults();
  });
  controls.exitButton.addEventListener('click', function () {
    page.sound.play(page.design.exitCue);
    page.exitBox.ask();
  });
};
