// How long before a deadline a precise sleep stops sleeping and waits the
// rest out. A wake-up on a quiet desktop comes some tens of microseconds
// late; on a virtual machine's processor, or a busy one, one in a hundred
// comes a millisecond or two late, and a frame whose sleep ends past its
// deadline is a late frame. The margin is the latest wake-up of the last ten
// to twenty seconds of sleeps, so that a machine that wakes late still gets
// its frames on time and one that wakes on time spends nothing waiting.
#pragma once

#include <algorithm>

class WakeMargin {
public:
    static constexpr double LEAST_SECONDS = 0.0002;
    // A wake-up later than this is the machine taking the processor away for
    // a while, which no margin makes up for: it is not learned from, or one
    // stall would have every frame burn the processor for seconds after.
    static constexpr double MOST_SECONDS = 0.002;
    // Sleeps a late wake-up is remembered for, at least: ten seconds of frames.
    static constexpr int SLEEPS_REMEMBERED = 600;

    double seconds() const
    {
        constexpr double headroom = 0.0002; // over the latest wake-up seen
        return std::clamp(std::max(latest_, earlier_) + headroom, LEAST_SECONDS, MOST_SECONDS);
    }

    // After each sleep: how far past its planned end it woke, in seconds.
    void overslept(double seconds)
    {
        if (seconds <= MOST_SECONDS)
            latest_ = std::max(latest_, seconds);
        if (++sleeps_ == SLEEPS_REMEMBERED) {
            earlier_ = latest_;
            latest_ = 0.0;
            sleeps_ = 0;
        }
    }

private:
    double latest_ = 0.0;  // the latest wake-up of this span of sleeps
    double earlier_ = 0.0; // of the span before
    int sleeps_ = 0;       // in this span
};
