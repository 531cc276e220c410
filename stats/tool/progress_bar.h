// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <thread>

namespace buffon {

// A bar on a terminal showing how many of the needles have been thrown, redrawn a few times a
// second from its own thread, and wiped when it goes.
class ProgressBar {
public:
    ProgressBar(const std::atomic<std::int64_t>& done, double total, std::FILE* terminal);
    ~ProgressBar();

    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // Worth showing: the output is a terminal and the work takes longer than a glance.
    static bool wanted(std::FILE* stream, double needles);

private:
    void draw(std::int64_t done) const;

    const std::atomic<std::int64_t>& done_;
    const double total_;
    std::FILE* const terminal_;
    std::jthread painter_;
};

}  // namespace buffon
