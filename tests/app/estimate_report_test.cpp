// Estimate Order and the design report in the running program: the dialog's
// answers, Use typing the chosen family into the design form, the status line
// after Design, and the report window following the design.

#include "app/order_estimate_dialog.h"
#include "app_fixture.h"
#include "design/design_report.h"
#include "doc/doc_command_ids.h"
#include "doc/update_hint.h"
#include "fw/field_exchange.h"
#include "views/design_form.h"
#include "views/design_report_view.h"

#include <functional>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace tarvo::test {
namespace {

// Runs call while act answers the modal dialog it opens.
void WithDialog(const std::function<void(OrderEstimateDialog&)>& act,
                const std::function<void()>& call) {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* d = qobject_cast<OrderEstimateDialog*>(QApplication::activeModalWidget())) {
            poll.stop();
            act(*d);
        }
    });
    poll.start(10);
    call();
}

void Fill(OrderEstimateDialog& d, std::int32_t response,
          const std::array<const char*, kEstimateFieldCount>& texts) {
    d.Response()->setCurrentIndex(response);
    for (std::int32_t f = 0; f < kEstimateFieldCount; ++f)
        d.Field(f)->setText(texts[static_cast<std::size_t>(f)]);
}

class EstimateAndReport : public AppTest {
protected:
    void SetUp() override {
        Start();
        doc = Project();
        ASSERT_NE(doc, nullptr);
        CFs fs(48.0);
        fs.SetUnit(1);
        doc->GetFilter().fs = fs;
        doc->UpdateAllViews(nullptr, hint::kFsChangedHint, &doc->GetFilter());
        form = dynamic_cast<CIirEditor*>(DesignWindow()->PaneView(-1));
        ASSERT_NE(form, nullptr);
    }
    CDesignReportView* ReportView() const {
        for (fw::View* v : doc->Views()) {
            if (auto* r = dynamic_cast<CDesignReportView*>(v)) return r;
        }
        return nullptr;
    }

    CTarvoIirDoc* doc = nullptr;
    CIirEditor* form = nullptr;
};

TEST_F(EstimateAndReport, UseTypesTheChosenFamilyAndTheDesignMeetsTheRequest) {
    const OrderRequest asked{kBandpass, 48.0, 8.0, 10.0, 7.0, 11.0, 0.5, 60.0};
    const OrderEstimate expected = EstimateOrder(asked);
    ASSERT_TRUE(expected.Ok()) << expected.error;
    WithDialog(
        [&](OrderEstimateDialog& d) {
            Fill(d, kBandpass, {"8", "10", "7", "11", "0.5", "60"});
            for (std::int32_t f = kButterworth; f <= kElliptic; ++f) {
                const FamilyOrder& row = expected.families[static_cast<std::size_t>(f)];
                EXPECT_EQ(d.OrderLabel(f)->text().toStdString(), std::to_string(row.order));
                EXPECT_EQ(d.EdgesLabel(f)->text().toStdString(),
                          EstimateEdgesText(row, kBandpass, "kHz"));
            }
            d.Families()->button(kElliptic)->click();
            ASSERT_TRUE(d.UseButton()->isEnabled()) << d.Message().toStdString();
            QTest::mouseClick(d.UseButton(), Qt::LeftButton);
        },
        [&] { Action(kIdIirEstimateOrder)->trigger(); });

    const FamilyOrder& elliptic = expected.families[kElliptic];
    DesignFormWidget& w = *form->Form();
    EXPECT_EQ(w.family->currentIndex(), kElliptic);
    EXPECT_EQ(w.response->currentIndex(), kBandpass);
    EXPECT_EQ(w.order->value(), elliptic.order);
    EXPECT_EQ(w.edge1->text().toStdString(), fw::FormatShortest(elliptic.edge1));
    EXPECT_EQ(w.edge2->text().toStdString(), fw::FormatShortest(elliptic.edge2));
    EXPECT_EQ(w.attenuation->text(), "60");
    EXPECT_FALSE(doc->IsDesigned()) << "Use types the values; Design designs";

    ASSERT_TRUE(form->Design());
    const DesignReport report = MakeDesignReport(doc->GetFilter(), doc->GetReportBands());
    EXPECT_EQ(ui.LastingStatus(), doc->GetTitle() + ": " + DesignReportStatus(report));
    EXPECT_EQ(report.stopEdgeSource, StopEdgeSource::kGiven);
    ASSERT_TRUE(report.attenuationDb && report.passbandRippleDb);
    EXPECT_GE(*report.attenuationDb, 60.0 - 1e-6);
    EXPECT_LE(*report.passbandRippleDb, 0.5 + 1e-6);

    // The next estimate starts from this one.
    WithDialog(
        [&](OrderEstimateDialog& d) {
            EXPECT_EQ(d.Field(kEstimateStop2)->text(), "11");
            EXPECT_EQ(d.Families()->checkedId(), kElliptic);
            d.reject();
        },
        [&] { Action(kIdIirEstimateOrder)->trigger(); });
    EXPECT_EQ(w.order->value(), elliptic.order);
}

TEST_F(EstimateAndReport, TheDialogRefusesWhatCannotBeMet) {
    WithDialog(
        [&](OrderEstimateDialog& d) {
            Fill(d, kLowpass, {"0.3", "", "0.2", "", "1", "40"});
            EXPECT_FALSE(d.Field(kEstimatePass2)->isEnabled());
            EXPECT_FALSE(d.Message().isEmpty());
            EXPECT_FALSE(d.UseButton()->isEnabled());
            EXPECT_TRUE(d.OrderLabel(kButterworth)->text().isEmpty());

            Fill(d, kLowpass, {"1", "", "1.001", "", "0.01", "200"});
            d.Families()->button(kButterworth)->click();
            EXPECT_EQ(d.OrderLabel(kButterworth)->text(), "-");
            EXPECT_FALSE(d.UseButton()->isEnabled());

            Fill(d, kLowpass, {"abc", "", "2", "", "1", "40"});
            EXPECT_EQ(d.Message(), "Passband edge 1: Please enter a number.");
            d.reject();
        },
        [&] { Action(kIdIirEstimateOrder)->trigger(); });
    EXPECT_EQ(form->Form()->order->value(), 4);
}

TEST_F(EstimateAndReport, TheReportWindowFollowsTheDesign) {
    EXPECT_FALSE(Enabled(kIdIirDesignReport)) << "nothing designed yet";
    Design(*doc);
    ASSERT_TRUE(Enabled(kIdIirDesignReport));
    Action(kIdIirDesignReport)->trigger();
    QApplication::processEvents();
    CDesignReportView* view = ReportView();
    ASSERT_NE(view, nullptr);
    const auto shown = [&] { return view->Edit()->toPlainText().toStdString(); };
    const auto expected = [&] {
        std::string text = "Design report: " + DesignReportTitle(doc->GetFilter()) + "\n\n";
        for (const std::string& line : DesignReportLines(MakeDesignReport(doc->GetFilter())))
            text += line + "\n";
        return text;
    };
    EXPECT_EQ(shown(), expected());
    EXPECT_EQ(shown().substr(0, shown().find('\n')),
              "Design report: Butterworth Lowpass, order 4, Fs = 48 kHz, IEEE 8-byte");
    EXPECT_TRUE(view->Edit()->isReadOnly());

    // Six fractional bits move the poles: the report measures the rounded coefficients.
    IirDesignSpec spec = doc->GetFilter().spec;
    spec.dataType = kFixedPoint;
    spec.fracBits = 6;
    ASSERT_TRUE(RunDesign(doc->GetFilter(), spec, doc->GetMinDb()).Designed());
    doc->OnFilterChanged(true, 0);
    QApplication::processEvents();
    const std::string after = shown();
    EXPECT_EQ(after, expected());
    EXPECT_NE(after.find("quantiz"), std::string::npos) << after;
}

} // namespace
} // namespace tarvo::test
