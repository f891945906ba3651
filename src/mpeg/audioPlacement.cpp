#include "mpeg/audioPlacement.h"

#include <algorithm>
#include <cmath>

namespace mpeg {

AudioPlacement::AudioPlacement(double unitTicks, double tolerance)
    : unitTicks_(unitTicks > 0 ? unitTicks : 1), tolerance_(tolerance) {}

AudioPlacement::Decision AudioPlacement::place(std::optional<double> time, std::int64_t units) {
    const double at = time ? *time : expected_;
    const double gap = at - next_;
    Decision decision;
    if (gap > tolerance_) {
        decision.silence = std::llround(gap / unitTicks_);
    } else if (gap < -tolerance_) {
        decision.skip =
            std::min<std::int64_t>(units, std::max<long long>(1, std::llround(-gap / unitTicks_)));
    }
    const std::int64_t written = units - decision.skip;
    next_ += static_cast<double>(decision.silence + written) * unitTicks_;
    expected_ = at + static_cast<double>(units) * unitTicks_;
    started_ = started_ || written > 0;
    return decision;
}

}  // namespace mpeg
