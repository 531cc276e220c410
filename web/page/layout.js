// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The window as its design table lays it out (design.js): each control an element whose id is
// the control's name, at its place and in its font, in the table's order (labels back to front,
// then the board and the buttons in the keyboard's order).
var Buffon = window.Buffon || {};

(function () {
  'use strict';

  // The page's own cut of IPAPGothic (font.js), named as its licence asks and asked for right
  // after the window's face.
  const kPageFace = 'Needle PGothic';

  Buffon.loadFont = function () {
    const face = new FontFace(kPageFace, Buffon.inlinedBytes('needle-pgothic.woff'));
    document.fonts.add(face);
    return face.load();
  };

  function fontFamily(families) {
    const names = [families[0], kPageFace].concat(families.slice(1));
    return names.map((name) => '"' + name + '"').join(', ') + ', sans-serif';
  }

  function element(tag, className) {
    const made = document.createElement(tag);
    made.className = className;
    return made;
  }

  // A label shows its text; one with a name of its own is read by that name.
  function label(control) {
    const made = element('div', 'label');
    if (!control.name) {
      made.textContent = control.text;
      return made;
    }
    const shown = element('span', '');
    shown.textContent = control.text;
    shown.setAttribute('aria-hidden', 'true');
    const read = element('span', 'unseen');
    read.textContent = control.name;
    made.append(shown, read);
    return made;
  }

  function result() {
    const made = element('output', 'label');
    // The run's end is announced whole; the result alone would be read twice.
    made.setAttribute('aria-live', 'off');
    return made;
  }

  function board(control) {
    const made = element('div', 'board');
    made.setAttribute('role', 'img');
    made.setAttribute('aria-label', control.name);
    made.tabIndex = 0;
    const edge = element('div', 'edge');
    edge.append(element('canvas', ''));
    made.append(edge);
    return made;
  }

  function emblem(control) {
    const made = element('img', 'emblem');
    made.src = 'emblem.jpg';
    made.alt = control.name;
    return made;
  }

  function button(control) {
    const made = element('button', 'command');
    made.type = 'button';
    made.textContent = control.text;
    if (control.name) {
      made.setAttribute('aria-label', control.name);
    }
    return made;
  }

  // The modes in use, for a class photo and for screen readers; empty while none is.
  function modeLine() {
    const made = element('div', 'label');
    made.setAttribute('role', 'note');
    return made;
  }

  const kMakers = {
    caption: label,
    estimateCaption: label,
    countCaption: label,
    estimateLabel: result,
    countLabel: result,
    board: board,
    emblem: emblem,
    runButton: button,
    initButton: button,
    exitButton: button,
    modeLine: modeLine,
  };

  function place(made, control) {
    const [left, top, width, height] = control.place;
    Object.assign(made.style, {
      left: left + 'px', top: top + 'px', width: width + 'px', height: height + 'px',
    });
    if (control.fontPixelSize) {
      made.style.fontSize = control.fontPixelSize + 'px';
      made.style.fontWeight = control.bold ? '700' : '400';
    }
    if (control.description) {
      made.setAttribute('aria-description', control.description);
    }
  }

  // Lays the window out in `form`; its controls by role, and the run buttons with their run
  // sizes. The sound device has no place on screen.
  Buffon.layWindow = function (form, design) {
    const [width, height] = design.clientSize;
    Object.assign(form.style, {
      width: width + 'px', height: height + 'px', fontFamily: fontFamily(design.fontFamilies),
    });
    form.setAttribute('aria-label', design.caption);
    form.setAttribute('aria-description', design.description);
    const heading = element('h1', 'unseen');
    heading.textContent = design.caption;
    form.append(heading);
    const controls = { runButtons: [] };
    for (const control of design.controls.filter((control) => kMakers[control.role])) {
      const made = kMakers[control.role](control);
      made.id = control.id;
      place(made, control);
      form.append(made);
      if (control.role === 'runButton') {
        controls.runButtons.push({ button: made, runSize: control.runSize });
      } else if (control.role !== 'caption') {
        controls[control.role] = made;
      }
    }
    controls.estimateLabel.setAttribute('aria-labelledby', controls.estimateCaption.id);
    controls.countLabel.setAttribute('aria-labelledby', controls.countCaption.id);
    controls.announcer = element('div', 'unseen');
    controls.announcer.setAttribute('role', 'status');
    form.append(controls.announcer);
    return controls;
  };
})();
