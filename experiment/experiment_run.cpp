#include "experiment_run.h"

#include <cstdint>
#include <optional>

#include "needle.h"
#include "number_text.h"

namespace buffon {

void RunExperiment(const RunSize& size, RunContext& context)
{
    context.cue.PlayCue(kStartCue);
    ClearBoard(context.board);
    std::int32_t hits = 0;
    RuleBoard(context.board, PaletteIndex::LightRed);
    context.random.Reseed(context.clock.SecondsSinceMidnight());
    for (int i = 0; i < size.needles; ++i) {
        const Needle needle = ThrowNeedle(context.random);
        if (needle.outcome == Outcome::Hit) {
            ++hits;
        }
        DrawNeedle(context.board, needle);
    }
    hits -= size.deduction;
    std::optional<double> estimate;
    if (hits != 0) {
        estimate = static_cast<double>(size.needles) / static_cast<double>(hits);
    }
    context.estimateLabel.SetCaption(estimate ? NumberText(*estimate, context.decimalSeparator)
                                              : std::string());
    context.countLabel.SetCaption(NumberText(hits));
}

}  // namespace buffon
