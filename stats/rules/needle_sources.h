// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <memory>

#include "experiment/lesson_modes.h"
#include "experiment/needle_source.h"
#include "experiment/random_source.h"

namespace buffon {

// The needles a run throws in these modes: the textbook's, or the window's own from `random`.
std::unique_ptr<NeedleSource> boardNeedleSource(const LessonModes& modes,
                                                UniformRandomSource& random);

}  // namespace buffon
