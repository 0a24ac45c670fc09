#pragma once
// Plot types handed out, one by one, to new plot views that were created
// without one (the views of a new design window or of the Magnitude and
// Unwrapped Phase window take theirs from here when they bind).

#include <cstdint>

namespace tarvo {

// The constant lists, each ended by 0.
inline constexpr std::int32_t kDesignPlotTypes[] = {4, 6, 3, 0};
inline constexpr std::int32_t kMagnitudePlotTypes[] = {4, 5, 6, 0};
inline constexpr std::int32_t kMagnitudeAndUnwrappedPlotTypes[] = {4, 6, 0};

class PendingPlotTypes {
public:
    // list: one of the constant lists above (or any list ended by 0), or null.
    void Set(const std::int32_t* list) { next_ = list; }
    // The entry now due, then steps past it unless it is the ending 0; so once
    // the list is used up every call returns 0. 0 when no list is set.
    std::int32_t Next();
    // Entries left before the ending 0 (0 when no list is set).
    std::int32_t Count() const;
    bool IsSet() const { return next_ != nullptr; }

private:
    const std::int32_t* next_ = nullptr;
};

} // namespace tarvo
