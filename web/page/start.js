// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The program's start: the window laid out, its font and the compiled experiment made ready,
// then the window shown and its board ruled in black, as the desktop's is when it first shows.
// A browser without WebAssembly, or one that refuses to compile it, keeps the page's one
// sentence saying what it needs.
(function () {
  'use strict';
  if (typeof WebAssembly !== 'object') {
    return;
  }
  const design = Buffon.design;
  const needs = document.getElementById('needs');
  const form = document.getElementById('Form1');
  needs.hidden = true;
  document.title = design.caption;
  const controls = Buffon.layWindow(form, design);
  const sound = Buffon.makeSound([design.startCue, design.exitCue]);
  const font = Buffon.loadFont().catch((failure) => console.warn(failure));

  Promise.all([Buffon.makeNeedles(sound.play), font]).then(function ([needles]) {
    const board = Buffon.makeBoard(controls.board.querySelector('canvas'), needles);
    const stopFitting = Buffon.fitToScreen(form, design, board.fit);
    const exitBox = Buffon.makeExitBox(design, stopFitting);
    const modes = Buffon.makeModes(design, controls, needles);
    const events = Buffon.bindEvents({ design, controls, needles, board, sound, exitBox, modes });
    Buffon.makeMenu(form, controls.board, design.menuName,
      { entries: () => modes.entries(events.running()), choose: events.choose });
    form.hidden = false;
    modes.show();
    modes.showCounting();
    needles.ruleBoard();
    board.paint();
    // Holding the focus, the board leaves every button unfocused: Enter starts nothing until
    // a button is chosen.
    controls.board.focus();
  }, function (failure) {
    console.error(failure);
    form.remove();
    needs.hidden = false;
  });
})();
