#pragma once
// CDesignReportView: the "Design Report" window's text, the figures of the
// design measured on the coefficients it uses. Read-only text that can be
// selected and copied; it follows every change of the design.

#include "views/widget_view.h"

#include <QPlainTextEdit>
#include <QPointer>

class QTimer;

namespace tarvo {

class CIirFilter;

class CDesignReportView : public WidgetView {
public:
    CDesignReportView();

    void OnUpdate(fw::View* sender, std::int32_t hint, fw::Object* hintObject) override;
    std::optional<MenuBarKind> FocusMenuBar() const override { return MenuBarKind::kDesign; }
    HelpTopic Help() const override { return HelpTopic::kDesignReport; }

    QPlainTextEdit* Edit() const { return edit_; }
    // Measures and shows the report now when it is out of date.
    void RenderIfStale();
    int RenderCount() const { return renders_; }

private:
    void Invalidate();
    void Render();

    QPointer<QPlainTextEdit> edit_;
    QTimer* renderTimer_ = nullptr;
    CIirFilter* filter_ = nullptr;
    bool stale_ = true;
    int renders_ = 0;
};

} // namespace tarvo
