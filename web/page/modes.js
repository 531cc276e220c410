// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The teacher's modes: taken from the page's address, chosen again from the board's menu, and
// shown in the line under the board. The module reads and keeps them, by the same parser as the
// desktop's options: a parameter that is no mode's changes nothing, and a mode's bad value is
// left out with one line in the console.
var Buffon = window.Buffon || {};

Buffon.makeModes = function (design, controls, needles) {
  'use strict';
  const [countCaption, countLabel, modeLine] = ['countCaption', 'countLabel', 'modeLine']
    .map((role) => design.controls.find((control) => control.role === role));
  for (const [name, value] of new URLSearchParams(location.search)) {
    const refusal = needles.choose(name, value);
    if (refusal) {
      console.warn(refusal);
    }
  }

  function entry(mode, value, text, group) {
    const checked = needles.chosen(mode.parameter, value);
    // A switch's entry turns it off when it is on.
    return {
      text, group, checked, parameter: mode.parameter, value: checked && !group ? '0' : value,
    };
  }

  return {
    // On one line, in a smaller size where every mode is on and the line would not fit.
    show() {
      const line = controls.modeLine;
      line.textContent = needles.modeLine();
      line.style.fontSize = modeLine.fontPixelSize + 'px';
      const textbook = needles.textbook();
      for (const { button, runSize } of controls.runButtons) {
        const control = design.controls.find((made) => made.runSize === runSize);
        button.setAttribute('aria-description',
          textbook ? control.textbookDescription : control.description);
      }
      if (line.scrollWidth > line.clientWidth) {
        line.style.fontSize = modeLine.fontPixelSize * line.clientWidth / line.scrollWidth + 'px';
      }
    },
    // The count's caption and description as the needles about to fall are counted.
    showCounting() {
      const textbook = needles.textbook();
      controls.countCaption.textContent =
        textbook ? design.textbookCountCaption : countCaption.text;
      controls.countLabel.setAttribute('aria-description',
        textbook ? design.textbookCountDescription : countLabel.description);
    },
    // The modes' entries, and the one that stops a run, usable while one falls.
    entries(running) {
      return design.modes.flatMap((mode) => (mode.choices
        ? mode.choices.map((choice) => entry(mode, choice.value, choice.text, mode.text))
        : [entry(mode, '1', mode.text)]))
        .concat({ text: design.stopRunEntry, stop: true, disabled: !running });
    },
    choose(chosen) {
      needles.choose(chosen.parameter, chosen.value);
      this.show();
    },
  };
};
