#pragma once
// CPoleZeroPlot: the design's zeros and poles in the z-plane with the unit
// circle, at equal scales. The user picks a root with a click and moves it by
// dragging or with the arrow keys; its conjugate partner follows, the filter is
// rebuilt from the roots and renormalized, and every view of the project
// follows live. A drag, or a burst of one arrow key, is one undo step.

#include "views/iir_plot.h"

#include <cstddef>
#include <optional>
#include <QPoint>
#include <vector>

namespace tarvo {

class CPoleZeroPlot : public CIirPlot {
public:
    CPoleZeroPlot();

    HelpTopic Help() const override;
    void OnUpdate(fw::View* sender, std::int32_t hint, fw::Object* hintObject) override;
    bool OnCommand(fw::CommandId id) override;
    bool OnUpdateCommand(fw::CommandId id, fw::CmdUI& ui) override;

    int UpdateTitles(int xAxisPower) override;
    int GetCurveCount() const override;
    int GetAutoStyle() const override { return kStyleDot; }
    void ComputeCurves(int width, int height) override;
    void ComputeRanges() override;
    void PrepareCurveColors() override;
    std::ptrdiff_t HitTest(int x, int y, int& curve) override;
    void ShowPointCursor(int curve, std::ptrdiff_t index) override;
    void OnPointPicked(std::ptrdiff_t index) override;
    void OnDrawDone() override;
    bool HasCustomCurves() const override { return true; }
    void DrawCustomCurves(QPainter& painter, const PlotLayout& layout) const override;

    bool OnMousePress(QMouseEvent* event) override;
    bool OnMouseMove(QMouseEvent* event) override;
    bool OnMouseRelease(QMouseEvent* event) override;
    bool OnKeyPress(QKeyEvent* event) override;
    bool OnKeyRelease(QKeyEvent* event) override;
    void OnInputLost() override;

    bool IsDragging() const { return m_bDragging; }
    bool PolarKeys() const { return m_bPolarKeys; }
    // Constrain Poles or Constrain Zeros, for the kind of the pick.
    bool IsConstrained() const;
    // Half-size in pixels of the root markers.
    int GetMarkerSize() const;

protected:
    std::int32_t NormalizePlotType(std::int32_t plotType) const override;

private:
    // One plotted point: which root it is.
    struct PlottedRoot {
        bool pole = false;
        bool quantized = false;
        std::size_t index = 0; // in the filter's (quantized) pole or zero vector
    };
    // The unquantized root nearest to a pixel and its distance in pixels.
    struct NearRoot {
        bool pole = false;
        std::size_t index = 0;
        double distance = 0.0;
    };
    std::optional<NearRoot> NearestRoot(QPoint pixel) const;
    bool PickRoot(bool pole, std::size_t index);
    void Deselect();
    void EndDrag();
    void MoveTo(double re, double im);
    void ShowPickStatus() const;
    void PickChanged();

    bool m_bDragging = false;
    bool m_bPolarKeys = true;
    bool m_bPickBelowAxis = false;
    bool m_bConstrainPoles = true;
    bool m_bConstrainZeros = true;
    // The pick when the last press began: which vector and where.
    std::optional<std::pair<bool, std::int32_t>> m_prevPick;
    QPoint m_ptDown;
    bool dragStarted_ = false; // the pointer left the press's neighbourhood
    bool keyBurst_ = false;    // arrow-key moves wait to be recorded at the key's release
    std::vector<PlottedRoot> plotted_;
};

} // namespace tarvo
