#pragma once
// CAxisPlot: a plot whose axes the user sets in the axis dialogs and whose
// titles the user may take over. Derived plots report their data range through
// SetAxisRanges, which rescales the axes as their settings say.

#include "plot/axis_scale.h"
#include "plot/plot_text.h"
#include "plotui/plot_widget.h"

#include <functional>
#include <string>

namespace tarvo {

class CAxisPlot : public CPlot {
    Q_OBJECT

public:
    // Runs the axis dialog titled title on record; true on OK with record edited.
    using AxisEditor =
        std::function<bool(QWidget* parent, const std::string& title, AxisSettings& record)>;
    // Runs the "Titles" dialog on titles; true on OK with titles edited.
    using TitlesEditor = std::function<bool(QWidget* parent, PlotTitles& titles)>;
    static void SetAxisEditor(AxisEditor editor);
    static void SetTitlesEditor(TitlesEditor editor);

    explicit CAxisPlot(QWidget* parent = nullptr);

    // The one way a derived plot's ComputeRanges reports its data range.
    void SetAxisRanges(double xMin, double xMax, double yMin, double yMax);
    // Runs the axis dialog on record; true when the user confirmed.
    bool EditAxis(const std::string& title, AxisSettings& record);

    bool HandleCommand(fw::CommandId id) override;
    bool UpdateCommand(fw::CommandId id, fw::CmdUI& ui) override;

    bool m_bAutoTitles = true;
    // The user's own titles, kept while automatic titles are off. Derived plots
    // that offer Titles... switch m_bHasTitles on.
    bool m_bHasTitles = false;
    PlotTitles m_userTitles;

private:
    void OnTitles();
};

} // namespace tarvo
