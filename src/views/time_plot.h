#pragma once
// CIirTimePlot: the impulse response, the step response or both, one point per
// sample over the project's time-response length, against time in the unit
// paired with the sampling frequency. The responses are computed once per
// change of the design and reused by every redraw.

#include "korin/base/mv_t.h"
#include "views/iir_plot.h"

namespace tarvo {

// Longer responses are not recomputed while the user is still moving a root.
inline constexpr std::int32_t kLiveTimeResponseLimit = 65536;

class CIirTimePlot : public CIirPlot {
public:
    explicit CIirTimePlot(std::int32_t plotType = 0);

    HelpTopic Help() const override;
    void OnUpdate(fw::View* sender, std::int32_t hint, fw::Object* hintObject) override;
    bool OnCommand(fw::CommandId id) override;
    bool OnUpdateCommand(fw::CommandId id, fw::CmdUI& ui) override;

    int UpdateTitles(int xAxisPower) override;
    int GetCurveCount() const override { return m_nPlotType == kPlotImpulseAndStep ? 2 : 1; }
    void ComputeCurves(int width, int height) override;
    void ComputeRanges() override;
    void PrepareCurveColors() override;
    void OnPointPicked(std::ptrdiff_t index) override;

    std::int32_t SampleLength() const { return m_nSampleLength; }

protected:
    std::int32_t NormalizePlotType(std::int32_t plotType) const override;
    void OnBind(std::int32_t hint) override;
    void ResetData() override;
    void ResetDataForEdit() override;
    void OnPropertiesChanged() override;

private:
    korin::mvect m_impulse;
    korin::mvect m_step;
};

} // namespace tarvo
