// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// Files the build wrote into scripts (font.js, cues.js, module-binary.js) as bytes again: a page
// opened from a folder may run the scripts beside it but not read other files.
var Buffon = window.Buffon || {};

Buffon.inlinedBytes = function (name) {
  'use strict';
  const text = atob(Buffon.inlined[name]);
  const bytes = new Uint8Array(text.length);
  for (let at = 0; at < text.length; ++at) {
    bytes[at] = text.charCodeAt(at);
  }
  return bytes;
};
