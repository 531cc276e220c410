// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/progress_bar.h"

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "stats/tool/complaint.h"

namespace buffon {
namespace {

constexpr int kBarWidth = 40;
// About a second of work on one core.
constexpr double kLongWork = 1e7;

}  // namespace

ProgressBar::ProgressBar(const std::atomic<std::int64_t>& done, double total, std::FILE* terminal)
    : done_(done), total_(total), terminal_(terminal)
{
    painter_ = std::jthread([this](std::stop_token stop) {
        std::mutex mutex;
        std::condition_variable_any wake;
        std::unique_lock lock(mutex);
        // Nothing but a stop request wakes it early, so the wait ends at once on destruction.
        while (!wake.wait_for(lock, stop, std::chrono::milliseconds(200), [&] {
            return stop.stop_requested();
        })) {
            draw(done_.load(std::memory_order_relaxed));
        }
    });
    setStatusLineShown(true);
}

ProgressBar::~ProgressBar()
{
    painter_.request_stop();
    painter_.join();
    setStatusLineShown(false);
    std::fprintf(terminal_, "\r%*s\r", kBarWidth + 16, "");
    std::fflush(terminal_);
}

bool ProgressBar::wanted(std::FILE* stream, double needles)
{
    return needles >= kLongWork && isatty(fileno(stream));
}

void ProgressBar::draw(std::int64_t done) const
{
    const double share = total_ > 0 ? static_cast<double>(done) / total_ : 1;
    const int filled = static_cast<int>(share * kBarWidth);
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(kBarWidth - filled), '.');
    std::fprintf(terminal_, "\r[%s] %3d%%", bar.c_str(), static_cast<int>(share * 100));
    std::fflush(terminal_);
}

}  // namespace buffon
