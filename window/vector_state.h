// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

namespace buffon {

// Code of Qt's that uses the processor's wide vector registers can leave their upper halves
// marked in use. On x86 every SSE instruction after that pays for a transition, and a run of the
// experiment, SSE code through and through (the random draws, sin and cos, the pixel walk),
// then takes three times as long. This marks them unused again, where the processor has them.
void releaseWideVectorState();

}  // namespace buffon
