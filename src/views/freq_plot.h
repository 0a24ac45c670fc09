#pragma once
// CIirFreqPlot: one frequency response of the design (magnitude in dB, phase,
// unwrapped phase, group delay or phase delay) from 0 to half the sampling
// frequency, one point per pixel of width, recomputed inside a zoom. While a
// root is picked in a pole-zero view, a red line and marker show its frequency.

#include "views/iir_plot.h"

namespace tarvo {

class CIirFreqPlot : public CIirPlot {
public:
    explicit CIirFreqPlot(std::int32_t plotType = 0);

    HelpTopic Help() const override;
    void OnUpdate(fw::View* sender, std::int32_t hint, fw::Object* hintObject) override;
    bool OnCommand(fw::CommandId id) override;
    bool OnUpdateCommand(fw::CommandId id, fw::CmdUI& ui) override;

    int UpdateTitles(int xAxisPower) override;
    void ComputeCurves(int width, int height) override;
    void ComputeRanges() override;
    void PrepareCurveColors() override;
    void OnPointPicked(std::ptrdiff_t index) override;
    void DrawOverlay(QPainter& painter) const override;

    // The frequency of the picked root's marker; nothing without a pick.
    std::optional<double> MarkerFrequency() const;

protected:
    std::int32_t NormalizePlotType(std::int32_t plotType) const override;
    void ResetData() override;
    void ResetDataForEdit() override {}
};

// Draws the marker of a root: a pole is a cross, a zero a circle, of half-size r.
void DrawRootMarker(QPainter& painter, double x, double y, int r, bool pole);

} // namespace tarvo
