// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// What the module asks of the page: the clock and the cues, handed in when it is made.
mergeInto(LibraryManager.library, {
  page_seconds_since_midnight: function () {
    return Module['secondsSinceMidnight']();
  },
  page_play_cue: function (fileName) {
    Module['playCue'](UTF8ToString(fileName));
  },
});
