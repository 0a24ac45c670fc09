#pragma once
// Commands every plot offers: axes, curve styles, zoom levels, copying and
// writing the plotted data, font, titles and properties.

#include "fw/command_target.h"

#include <array>

namespace tarvo {

inline constexpr fw::CommandId kIdPlotXAxis = 32880;
inline constexpr fw::CommandId kIdPlotYAxis = 32882;

inline constexpr fw::CommandId kIdPlotStyleAuto = 34103;
inline constexpr fw::CommandId kIdPlotStyleLine = 32876;
inline constexpr fw::CommandId kIdPlotStyleDot = 32874;
inline constexpr fw::CommandId kIdPlotStyleLineAndDot = 32878;
inline constexpr fw::CommandId kIdPlotStyleBar = 32872;
inline constexpr fw::CommandId kIdPlotStyleStem = 34105;
inline constexpr fw::CommandId kIdPlotStyleVerticalLine = 34106;
inline constexpr fw::CommandId kIdPlotStyleStair = 34108;
// Indexed by the plot's style number (0 Auto ... 7 Stair), so that the check
// mark goes on the item whose number equals the current style.
inline constexpr std::array<fw::CommandId, 8> kIdPlotStyles{
    kIdPlotStyleAuto, kIdPlotStyleLine, kIdPlotStyleDot,          kIdPlotStyleLineAndDot,
    kIdPlotStyleBar,  kIdPlotStyleStem, kIdPlotStyleVerticalLine, kIdPlotStyleStair};

inline constexpr fw::CommandId kIdPlotZoomNext = 33020;
inline constexpr fw::CommandId kIdPlotZoomTop = 33024;
inline constexpr fw::CommandId kIdPlotZoomIn = 33018;
inline constexpr fw::CommandId kIdPlotZoomOut = 33022;
inline constexpr fw::CommandId kIdPlotZoomBottom = 33016;
// Indexed by the zoom navigation number (0 Next, 1 Top, 2 In, 3 Out, 4 Bottom).
inline constexpr std::array<fw::CommandId, 5> kIdPlotZooms{
    kIdPlotZoomNext, kIdPlotZoomTop, kIdPlotZoomIn, kIdPlotZoomOut, kIdPlotZoomBottom};

// Copy Image of the plot menus; the plots' context menus send the edit copy
// command (fw::kIdEditCopy, Ctrl+C) for the same thing.
inline constexpr fw::CommandId kIdPlotCopyImage = 32824;
inline constexpr fw::CommandId kIdPlotCopyData = 32822;
inline constexpr fw::CommandId kIdPlotWriteData = 32850;
inline constexpr fw::CommandId kIdPlotFont = 32826;
inline constexpr fw::CommandId kIdPlotTitles = 32830;
// Run by the filter plots; enabled, like the axes and titles, while the plot is ready.
inline constexpr fw::CommandId kIdPlotProperties = 32828;

} // namespace tarvo
