// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// --trace FILE.csv: the figures of one long run at each point it was recorded: needles, hits,
// the running estimate (the hit fraction where the rule has no estimate), the rule's limit and
// its 95% band.

#include <cmath>

#include "experiment/number_text.h"
#include "stats/tool/exporters/exporter.h"

namespace buffon {
namespace {

// Empty where there is no figure yet, as before the first hit.
std::string figure(double value)
{
    return std::isfinite(value) ? shortestText(value) : std::string();
}

class TraceTable final : public Exporter {
public:
    std::string finish(const Results& results) const override
    {
        const NeedleRule& rule = results.plan.rule;
        std::string table = estimateFactor(rule)
                                ? "needles,hits,estimate,limit,band_low,band_high\n"
                                : "needles,hits,hit_fraction,limit,band_low,band_high\n";
        for (const TracePoint& point : results.trace) {
            const TraceValues values = traceValues(rule, point, results.inference.z);
            table += std::to_string(point.needles) + ',' + std::to_string(point.hits) + ',' +
                     figure(values.value) + ',' + figure(values.limit) + ',' + figure(values.low) +
                     ',' + figure(values.high) + '\n';
        }
        return table;
    }
};

}  // namespace

const Exporter& traceTable()
{
    static const TraceTable exporter;
    return exporter;
}

}  // namespace buffon
