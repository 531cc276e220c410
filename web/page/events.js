// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The window's events: the run buttons, Init and Exit. A run thrown all at once is one call into
// the module, so clicks and keys that come while it lasts wait in the browser's queue and are
// handled after it, in order. A run at a pace falls frame by frame instead, and a click during
// it is handled at once: a run button stops it and starts its own, Init stops it and clears,
// Exit stops it and asks.
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
    page.modes.show();
    board.paint();
  }

  function showEnd() {
    showResults();
    controls.announcer.textContent = needles.announcement();
  }

  const pacedRun = Buffon.makePacedRun(needles, showResults, showEnd);
  const stopRun = () => pacedRun.stop() && (showEnd(), true);

  for (const { button, runSize } of controls.runButtons) {
    button.addEventListener('click', function () {
      stopRun();
      page.modes.showCounting();
      const pace = needles.pace();
      if (!pace) {
        needles.run(runSize, decimalSeparator);
        showEnd();
        return;
      }
      pacedRun.start(needles.begin(runSize, decimalSeparator), pace);
      showResults();
    });
  }
  controls.initButton.addEventListener('click', function () {
    pacedRun.stop();
    needles.resetBoard();
    showResults();
    // No run is shown, nor to be found by a screen reader.
    controls.announcer.textContent = '';
  });
  controls.exitButton.addEventListener('click', function () {
    stopRun();
    page.sound.play(page.design.exitCue);
    page.exitBox.ask();
  });
  // Escape stops a run at a pace where it stands.
  document.addEventListener('keydown', (event) => {
    if (event.key === 'Escape' && stopRun()) {
      event.preventDefault();
    }
  });
  // A choice of the board's menu: its stop entry stops; a mode that changes the needles ends a
  // run falling at a pace first, and a new pace is taken by the run as it falls.
  function choose(entry) {
    if (entry.stop || needles.endsRun(entry.parameter, entry.value)) {
      stopRun();
    }
    if (!entry.stop) {
      page.modes.choose(entry);
      pacedRun.setPace(needles.pace());
    }
  }
  return { stopRun, choose, running: pacedRun.running };
};
