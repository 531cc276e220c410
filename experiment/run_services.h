// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>

namespace buffon {

// What a run reaches outside the board and the random source.

class CuePlayer {
public:
    virtual ~CuePlayer() = default;
    // Starts the named sound cue; returns without waiting for it.
    virtual void play(const std::string& fileName) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Local time of day in seconds, fraction included.
    virtual float secondsSinceMidnight() = 0;
};

class Caption {
public:
    virtual ~Caption() = default;
    virtual void setText(const std::string& text) = 0;
};

}  // namespace buffon
