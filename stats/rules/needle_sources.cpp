// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/rules/needle_sources.h"

#include "stats/rules/geometric/board_needles.h"

namespace buffon {

std::unique_ptr<NeedleSource> boardNeedleSource(const LessonModes& modes,
                                                UniformRandomSource& random)
{
    if (modes.textbook) {
        return std::make_unique<TextbookBoardNeedles>();
    }
    return std::make_unique<WindowNeedles>(random);
}

}  // namespace buffon
