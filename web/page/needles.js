// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The experiment, the program's own C++ compiled to WebAssembly (module.js): its runs, board
// and result texts are the desktop's. The page hands it the clock and plays its cues.
var Buffon = window.Buffon || {};

(function () {
  'use strict';

  // Local time of day in seconds, as the desktop's clock reads it.
  function secondsSinceMidnight() {
    const now = new Date();
    return now.getHours() * 3600 + now.getMinutes() * 60 + now.getSeconds() +
      now.getMilliseconds() / 1000;
  }

  // Resolves to the module's calls once it is compiled.
  Buffon.makeNeedles = function (playCue) {
    return createNeedleModule({
      wasmBinary: Buffon.inlinedBytes('module.wasm'),
      secondsSinceMidnight: secondsSinceMidnight,
      playCue: playCue,
    }).then(function (module) {
      const text = (pointer) => module.UTF8ToString(pointer);
      return {
        fitBoard: (screenRatio) => module._page_fit_board(screenRatio),
        boardScale: () => module._page_board_scale(),
        run: (runSize, decimalSeparator) =>
          module.ccall('page_run', null, ['number', 'string'], [runSize, decimalSeparator]),
        // A run at a pace: begun (giving its needles), its needles falling, finished or stopped.
        begin: (runSize, decimalSeparator) =>
          module.ccall('page_begin', 'number', ['number', 'string'], [runSize, decimalSeparator]),
        fall: (count) => module._page_fall(count),
        finish: () => module._page_finish(),
        stop: () => module._page_stop(),
        // The modes: a choice taken (or the line saying why not), whether one is in effect.
        choose: (name, value) =>
          module.ccall('page_choose', 'string', ['string', 'string'], [name, value]),
        chosen: (name, value) =>
          module.ccall('page_chosen', 'boolean', ['string', 'string'], [name, value]),
        endsRun: (name, value) =>
          module.ccall('page_ends_run', 'boolean', ['string', 'string'], [name, value]),
        pace: () => module._page_pace(),
        textbook: () => Boolean(module._page_textbook()),
        modeLine: () => text(module._page_mode_line()),
        resetBoard: () => module._page_reset_board(),
        ruleBoard: () => module._page_rule_board(),
        estimateText: () => text(module._page_estimate_text()),
        countText: () => text(module._page_count_text()),
        announcement: () => text(module._page_announcement()),
        boardImage: function () {
          const width = module._page_board_width();
          const height = module._page_board_height();
          // Asked for first: making the pixels may grow the module's memory, which leaves the
          // buffer read before it empty.
          const at = module._page_board_pixels();
          const pixels = new Uint8ClampedArray(module.HEAPU8.buffer, at, width * height * 4);
          return new ImageData(pixels, width, height);
        },
      };
    });
  };
})();
