#include "views/design_report_view.h"

#include "design/design_report.h"
#include "design/iir_filter.h"
#include "doc/tarvo_iir_doc.h"

#include <QFontDatabase>
#include <QTimer>

namespace tarvo {

namespace {

// A live edit changes the design at every mouse move; measuring a long report
// that often would slow the drag, so it waits until the moves pause.
constexpr int kLiveEditDelayMs = 150;

class ReportEdit : public QPlainTextEdit {
public:
    explicit ReportEdit(CDesignReportView& view) : view_(view) {
        setReadOnly(true);
        setLineWrapMode(QPlainTextEdit::NoWrap);
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setStyleHint(QFont::TypeWriter);
        setFont(font);
    }

    QSize minimumSizeHint() const override { return {0, 0}; }

protected:
    void showEvent(QShowEvent* event) override {
        QPlainTextEdit::showEvent(event);
        view_.RenderIfStale();
    }

private:
    CDesignReportView& view_;
};

} // namespace

CDesignReportView::CDesignReportView() {
    auto* edit = new ReportEdit(*this);
    edit->setObjectName("designReport");
    edit->setWhatsThis(QStringLiteral(
        "What the design achieves, measured on the coefficients it uses: the half-power "
        "edges, the passband ripple, the attenuation beyond the stopband edges, the peak "
        "group delay, the largest pole radius and what quantization changed."));
    edit_ = edit;
    SetWidget(edit);
    renderTimer_ = new QTimer(edit);
    renderTimer_->setSingleShot(true);
    QObject::connect(renderTimer_, &QTimer::timeout, edit, [this] { RenderIfStale(); });
}

void CDesignReportView::OnUpdate(fw::View* /*sender*/, std::int32_t hint, fw::Object* hintObject) {
    if (ReadFilterUpdate(filter_, hint, hintObject) != FilterUpdate::kNone) Invalidate();
}

void CDesignReportView::Invalidate() {
    stale_ = true;
    if (edit_ == nullptr || !edit_->isVisible()) return;
    const CTarvoIirDoc* doc = GetIirDocument();
    renderTimer_->setInterval(doc != nullptr && doc->HasUnrecordedChange() ? kLiveEditDelayMs : 0);
    if (!renderTimer_->isActive()) renderTimer_->start();
}

void CDesignReportView::RenderIfStale() {
    if (stale_) Render();
}

void CDesignReportView::Render() {
    if (edit_ == nullptr || filter_ == nullptr) return;
    stale_ = false;
    ++renders_;
    const CTarvoIirDoc* doc = GetIirDocument();
    const DesignReport report =
        MakeDesignReport(*filter_, doc != nullptr ? doc->GetReportBands() : ReportBands{});
    QString text = QString::fromStdString("Design report: " + DesignReportTitle(*filter_) + "\n\n");
    for (const std::string& line : DesignReportLines(report)) {
        text += QString::fromStdString(line);
        text += QLatin1Char('\n');
    }
    edit_->setPlainText(text);
}

} // namespace tarvo
