// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

namespace buffon {

// A program started with standard input, output or error closed would otherwise hand that
// number to the first file it opens (an output, the display's connection) and write its own
// lines into it: each closed one is taken by a descriptor that refuses writes, so that writing
// to it fails as it would on the closed stream.
void holdClosedStandardStreams();

}  // namespace buffon
