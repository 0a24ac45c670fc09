#include "plotui/axis_plot.h"

#include "plot/plot_command_ids.h"
#include "plotui/axis_dialog.h"
#include "plotui/titles_dialog.h"

namespace tarvo {
namespace {

bool RunAxisDialog(QWidget* parent, const std::string& title, AxisSettings& record) {
    // A polar plot's axes are always linear, so its dialog offers no log mode.
    const auto* plot = qobject_cast<const CPlot*>(parent);
    const bool logAllowed = plot == nullptr || !plot->m_axes.m_bPolar;
    AxisDialog dialog(CPlot::GetUi(), title, record, parent, logAllowed);
    if (dialog.exec() != QDialog::Accepted) return false;
    record = dialog.Record();
    return true;
}

bool RunTitlesDialog(QWidget* parent, PlotTitles& titles) {
    TitlesDialog dialog(titles, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    titles = dialog.Titles();
    return true;
}

CAxisPlot::AxisEditor& AxisEditorHook() {
    static CAxisPlot::AxisEditor hook = RunAxisDialog;
    return hook;
}

CAxisPlot::TitlesEditor& TitlesEditorHook() {
    static CAxisPlot::TitlesEditor hook = RunTitlesDialog;
    return hook;
}

} // namespace

void CAxisPlot::SetAxisEditor(AxisEditor editor) {
    AxisEditorHook() = editor ? std::move(editor) : AxisEditor(RunAxisDialog);
}

void CAxisPlot::SetTitlesEditor(TitlesEditor editor) {
    TitlesEditorHook() = editor ? std::move(editor) : TitlesEditor(RunTitlesDialog);
}

CAxisPlot::CAxisPlot(QWidget* parent) : CPlot(parent) {}

void CAxisPlot::SetAxisRanges(double xMin, double xMax, double yMin, double yMax) {
    AddNotices(m_axes.SetAxisRanges(xMin, xMax, yMin, yMax));
}

bool CAxisPlot::EditAxis(const std::string& title, AxisSettings& record) {
    return AxisEditorHook()(this, title, record);
}

void CAxisPlot::OnTitles() {
    if (!m_bHasTitles) return;
    PlotTitles titles{m_strMainTitle, m_strXTitle, m_strYTitle};
    if (!TitlesEditorHook()(this, titles)) return;
    m_userTitles = titles;
    m_strMainTitle = titles.main;
    m_strXTitle = titles.x;
    m_strYTitle = titles.y;
    m_bAutoTitles = false;
    Rebuild();
}

bool CAxisPlot::HandleCommand(fw::CommandId id) {
    if (id == kIdPlotXAxis || id == kIdPlotYAxis) {
        if (!IsPlotReady()) return true;
        const bool isX = id == kIdPlotXAxis;
        AxisSettings& record = isX ? m_axes.m_xAxis : m_axes.m_yAxis;
        if (EditAxis(isX ? "X-Axis" : "Y-Axis", record)) {
            if (isX) {
                m_axes.ApplyXAxis();
            } else {
                m_axes.ApplyYAxis();
            }
            Rebuild();
        }
        return true;
    }
    if (id == kIdPlotTitles) {
        if (IsPlotReady()) OnTitles();
        return true;
    }
    return CPlot::HandleCommand(id);
}

bool CAxisPlot::UpdateCommand(fw::CommandId id, fw::CmdUI& ui) {
    if (id == kIdPlotXAxis || id == kIdPlotYAxis || id == kIdPlotTitles) {
        ui.Enable(IsPlotReady());
        return true;
    }
    return CPlot::UpdateCommand(id, ui);
}

} // namespace tarvo
