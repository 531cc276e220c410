// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The Exit box, modal to the window, and the end of the program: a browser's tab cannot be
// closed by its page, so the page says that the program has ended and takes no more input.
var Buffon = window.Buffon || {};

// `onEnd` is called once the box is answered, which ends the program.
Buffon.makeExitBox = function (design, onEnd) {
  'use strict';
  const box = document.getElementById('ExitBox');
  document.getElementById('ExitBoxTitle').textContent = design.boxTitle;
  document.getElementById('ExitBoxPrompt').textContent = design.exitPrompt;
  document.getElementById('ExitBoxOK').addEventListener('click', () => box.close());
  // OK is the box's default button: Enter answers wherever the focus is in the box. It is also
  // its only control, so Tab keeps the focus on it rather than leaving for the browser's own.
  box.addEventListener('keydown', function (event) {
    if (event.key === 'Enter') {
      event.preventDefault();
      box.close();
    } else if (event.key === 'Tab') {
      event.preventDefault();
    }
  });
  // OK is the box's only answer, however it is closed: its button, Enter or Escape.
  box.addEventListener('close', function () {
    onEnd();
    document.body.replaceChildren(document.getElementById('ended'));
    document.getElementById('ended').hidden = false;
  });
  return {
    ask() {
      box.showModal();
    },
  };
};
