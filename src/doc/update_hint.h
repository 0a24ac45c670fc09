#pragma once
// The update hint: the one word a project document sends its views. Bits 0-3
// say what happened, bits 4-7 give a plot type a newly bound plot adopts, bits
// 8-11 a sub-code, and bit 13 asks plots to redraw without rescaling.

#include <cstdint>

namespace tarvo::hint {

inline constexpr std::int32_t kEventMask = 0xF;
inline constexpr std::int32_t kPlotTypeShift = 4;
inline constexpr std::int32_t kPlotTypeMask = 0xF;
inline constexpr std::int32_t kSubCodeShift = 8;
inline constexpr std::int32_t kSubCodeMask = 0xF;
// With event kDesignChanged: plots redraw without rescaling their axes.
inline constexpr std::int32_t kNoRescale = 0x2000;

// Events (bits 0-3).
inline constexpr std::int32_t kBind = 0;           // bind only
inline constexpr std::int32_t kDesignChanged = 5;  // designed, undone, redone, loaded, edited
inline constexpr std::int32_t kStoring = 6;        // the document is about to be stored
inline constexpr std::int32_t kFsChanged = 7;      // the sampling frequency changed
inline constexpr std::int32_t kWindowsChanged = 9; // windows opened or re-laid out
inline constexpr std::int32_t kPoleZero = 10;      // between pole-zero views, with a sub-code
inline constexpr std::int32_t kOrderEstimate = 11; // the design form takes an order estimate

// The document's window and file hints carry this sub-code; no view reads it.
inline constexpr std::int32_t kDocumentSubCode = 3;

constexpr std::int32_t Event(std::int32_t hint) {
    return hint & kEventMask;
}
constexpr std::int32_t PlotType(std::int32_t hint) {
    return (hint >> kPlotTypeShift) & kPlotTypeMask;
}
constexpr std::int32_t SubCode(std::int32_t hint) {
    return (hint >> kSubCodeShift) & kSubCodeMask;
}
constexpr std::int32_t Make(std::int32_t event, std::int32_t plotType = 0,
                            std::int32_t subCode = 0) {
    return event | (plotType << kPlotTypeShift) | (subCode << kSubCodeShift);
}

// The values the document sends.
inline constexpr std::int32_t kPoleZeroWindowOpened = 0;
inline constexpr std::int32_t kDesignChangedHint = kDesignChanged;
inline constexpr std::int32_t kFsChangedHint = kFsChanged;
inline constexpr std::int32_t kCoefficientsWindowOpened = kWindowsChanged;
inline constexpr std::int32_t kLoaded = Make(kDesignChanged, 0, kDocumentSubCode);
inline constexpr std::int32_t kAboutToStore = Make(kStoring, 0, kDocumentSubCode);
inline constexpr std::int32_t kWindowsOpened = Make(kWindowsChanged, 0, kDocumentSubCode);
inline constexpr std::int32_t kPhaseWindowOpened = Make(kWindowsChanged, 5, kDocumentSubCode);
inline constexpr std::int32_t kUnwrappedPhaseWindowOpened =
    Make(kWindowsChanged, 6, kDocumentSubCode);
inline constexpr std::int32_t kPhaseDelayWindowOpened = Make(kWindowsChanged, 7, kDocumentSubCode);
inline constexpr std::int32_t kGroupDelayWindowOpened = Make(kWindowsChanged, 8, kDocumentSubCode);
inline constexpr std::int32_t kImpulseWindowOpened = Make(kWindowsChanged, 13, kDocumentSubCode);
inline constexpr std::int32_t kStepWindowOpened = Make(kWindowsChanged, 14, kDocumentSubCode);
inline constexpr std::int32_t kImpulseAndStepWindowOpened =
    Make(kWindowsChanged, 15, kDocumentSubCode);

// Between the pole-zero views of a project (event kPoleZero): erase the pick
// marks, draw them, rebuild the whole plot.
inline constexpr std::int32_t kPickErase = Make(kPoleZero, 0, 5);
inline constexpr std::int32_t kPickDraw = Make(kPoleZero, 0, 6);
inline constexpr std::int32_t kPoleZeroRebuild = Make(kPoleZero, 0, 7);

// The numbers views and older files know them by.
static_assert(kLoaded == 773 && kAboutToStore == 774 && kWindowsOpened == 777);
static_assert(kPhaseWindowOpened == 857 && kUnwrappedPhaseWindowOpened == 873 &&
              kPhaseDelayWindowOpened == 889 && kGroupDelayWindowOpened == 905);
static_assert(kImpulseWindowOpened == 985 && kStepWindowOpened == 1001 &&
              kImpulseAndStepWindowOpened == 1017);
static_assert(kPickErase == 0x50A && kPickDraw == 0x60A && kPoleZeroRebuild == 0x70A);

} // namespace tarvo::hint
