#pragma once

#include "run_services.h"

namespace buffon {

class LocalClock final : public Clock {
public:
    float SecondsSinceMidnight() override;
};

}  // namespace buffon
