// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include "experiment/run_services.h"

namespace buffon {

class LocalClock final : public Clock {
public:
    float secondsSinceMidnight() override;
};

}  // namespace buffon
