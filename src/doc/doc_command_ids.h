#pragma once
// Commands of a project's "IIR" and "View" menus, handled by its document.
// Undo and Redo are the framework's edit commands (fw::kIdEditUndo, kIdEditRedo).

#include "fw/command_target.h"

namespace tarvo {

inline constexpr fw::CommandId kIdIirDesign = 32930;
inline constexpr fw::CommandId kIdIirMagnitude = 32966;
inline constexpr fw::CommandId kIdIirPhase = 32968;
inline constexpr fw::CommandId kIdIirUnwrappedPhase = 32982;
inline constexpr fw::CommandId kIdIirGroupDelay = 32944;
inline constexpr fw::CommandId kIdIirPhaseDelay = 32970;
inline constexpr fw::CommandId kIdIirMagnitudeAndUnwrapped = 32964;
inline constexpr fw::CommandId kIdIirImpulse = 33002;
inline constexpr fw::CommandId kIdIirStep = 33006;
inline constexpr fw::CommandId kIdIirImpulseAndStep = 33004;
inline constexpr fw::CommandId kIdIirPolesAndZeros = 32998;
inline constexpr fw::CommandId kIdIirCoefficients = 32926;
inline constexpr fw::CommandId kIdIirMinimumDb = 32996;
inline constexpr fw::CommandId kIdIirSamplingFrequency = 35060;
inline constexpr fw::CommandId kIdIirEstimateOrder = 35070;
inline constexpr fw::CommandId kIdIirDesignReport = 35072;
inline constexpr fw::CommandId kIdFileExport = 32784;
inline constexpr fw::CommandId kIdViewDesignLayout = 32932;

} // namespace tarvo
