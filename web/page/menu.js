// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The board's context menu: checkable entries, a group of them exclusive. It opens by the right
// button or a long press on the board, and by the Menu key or Shift+F10 anywhere in the window;
// the arrows move in it, Enter and Space choose, Escape and Tab close it, and the focus goes back
// where it was.
var Buffon = window.Buffon || {};

(function () {
  'use strict';

  const kLongPress = 500;  // ms a finger rests on the board before the menu opens
  const kSteadyFinger = 10;  // px a resting finger may slide

  function element(tag, className, role) {
    const made = document.createElement(tag);
    made.className = className;
    made.setAttribute('role', role);
    return made;
  }

  // `entries()` gives the entries as they stand: { text, checked, group }, those of one group
  // exclusive and labelled by `group`, or { text, stop, disabled }, a plain command set apart;
  // `choose(entry)` applies one.
  Buffon.makeMenu = function (form, board, label, { entries, choose }) {
    const menu = element('div', 'menu', 'menu');
    menu.id = 'BoardMenu';
    menu.setAttribute('aria-label', label);
    menu.hidden = true;
    form.append(menu);
    let returnTo = null;

    function item(entry) {
      const role = entry.stop ? 'menuitem' : entry.group ? 'menuitemradio' : 'menuitemcheckbox';
      const made = element('div', 'item', role);
      made.tabIndex = -1;
      if (!entry.stop) {
        made.setAttribute('aria-checked', String(entry.checked));
      }
      if (entry.disabled) {
        made.setAttribute('aria-disabled', 'true');
      }
      const mark = element('span', 'mark', 'none');
      mark.setAttribute('aria-hidden', 'true');
      mark.textContent = entry.checked ? (entry.group ? '●' : '✓') : '';
      made.append(mark, entry.text);
      // The pointer moved over an entry picks it; one the menu opened under does not.
      made.addEventListener('pointermove', () => made.focus());
      made.addEventListener('click', () => {
        close(true);
        if (!entry.disabled) {
          choose(entry);
        }
      });
      return made;
    }

    // A group's entries together, set apart from the others by separators.
    function fill() {
      let group = null;
      menu.replaceChildren();
      for (const entry of entries()) {
        if ((group && group.getAttribute('aria-label') !== entry.group) || entry.stop) {
          menu.append(element('div', 'separator', 'separator'));
          group = null;
        }
        if (entry.group && !group) {
          group = element('div', 'group', 'group');
          group.setAttribute('aria-label', entry.group);
          menu.append(element('div', 'separator', 'separator'), group);
        }
        (group || menu).append(item(entry));
      }
    }

    // Opens at a point of the layout, kept inside the window.
    function open(left, top) {
      returnTo = menu.hidden ? document.activeElement : returnTo;
      fill();
      menu.hidden = false;
      const [width, height] = [form.offsetWidth, form.offsetHeight];
      menu.style.left = Math.max(0, Math.min(left, width - menu.offsetWidth)) + 'px';
      menu.style.top = Math.max(0, Math.min(top, height - menu.offsetHeight)) + 'px';
      items()[0].focus();
    }

    function close(refocus) {
      if (menu.hidden) {
        return;
      }
      menu.hidden = true;
      if (refocus && returnTo && returnTo.isConnected) {
        returnTo.focus();
      }
    }

    const items = () => Array.from(menu.querySelectorAll('[tabindex="-1"]'));

    // A point on the screen as a point of the layout, which the window is scaled from.
    function atPoint(clientX, clientY) {
      const bounds = form.getBoundingClientRect();
      const scale = bounds.width / form.offsetWidth;
      open((clientX - bounds.left) / scale, (clientY - bounds.top) / scale);
    }

    function atBoard() {
      open(board.offsetLeft + board.offsetWidth / 2, board.offsetTop + board.offsetHeight / 2);
    }

    board.addEventListener('contextmenu', (event) => {
      event.preventDefault();
      atPoint(event.clientX, event.clientY);
    });
    document.addEventListener('contextmenu', (event) => {
      if (menu.contains(event.target)) {
        event.preventDefault();
      }
    });

    let press = null;
    board.addEventListener('pointerdown', (event) => {
      if (event.pointerType !== 'touch') {
        return;
      }
      const { clientX, clientY } = event;
      press = { clientX, clientY, opened: false };
      press.timer = setTimeout(() => {
        press.opened = true;
        atPoint(clientX, clientY);
      }, kLongPress);
    });
    const release = () => press && clearTimeout(press.timer);
    // The finger lifted after the menu opened under it is no click on the menu.
    board.addEventListener('touchend', (event) => {
      if (press && press.opened) {
        event.preventDefault();
      }
    });
    board.addEventListener('pointerup', release);
    board.addEventListener('pointercancel', release);
    board.addEventListener('pointermove', (event) => {
      if (press && Math.hypot(event.clientX - press.clientX, event.clientY - press.clientY) >
        kSteadyFinger) {
        release();
      }
    });

    document.addEventListener('keydown', (event) => {
      if (menu.hidden && (event.key === 'ContextMenu' || (event.shiftKey && event.key === 'F10'))) {
        event.preventDefault();
        atBoard();
      }
    });
    // A click on the menu's edge leaves the focus in it.
    menu.addEventListener('mousedown', (event) => event.preventDefault());
    document.addEventListener('pointerdown', (event) => {
      if (!menu.contains(event.target)) {
        close(false);
      }
    });

    const kMoves = {
      ArrowDown: (at, count) => (at + 1) % count,
      ArrowUp: (at, count) => (at + count - 1) % count,
      Home: () => 0,
      End: (at, count) => count - 1,
    };
    menu.addEventListener('keydown', (event) => {
      const all = items();
      const at = all.indexOf(document.activeElement);
      if (kMoves[event.key]) {
        all[kMoves[event.key](at, all.length)].focus();
      } else if (event.key === 'Enter' || event.key === ' ') {
        all[at].click();
      } else if (event.key === 'Escape' || event.key === 'Tab') {
        close(true);
      } else {
        return;
      }
      event.preventDefault();
      event.stopPropagation();
    });

    return { close };
  };
})();
