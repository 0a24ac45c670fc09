// The renderer drawn into images: log axes get their axes and labels, bars
// have their exact geometry, the legend follows its rules, a tiny area draws
// nothing, and Auto style switches at 256 points.

#include "plot_fixture.h"

#include <QPainter>
#include <QTest>

namespace tarvo::test {

void ShowPlot(CPlot& plot, int width, int height) {
    plot.resize(width, height);
    plot.show();
    plot.grab(); // renders the picture now
}

QImage WhiteImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

namespace {

struct SceneData {
    CDataColumn x;
    CDataSet curves;
};

// A scene over the data with linear axes 0..10 and 0..1 (labels every 1 and 0.2).
PlotScene MakeScene(SceneData& data, int style = kStyleLine) {
    PlotScene scene;
    scene.xData = &data.x;
    scene.curves = &data.curves;
    scene.x = {0.0, 10.0, 1.0, 1.0, 0, 2, 0, false};
    scene.y = {0.0, 1.0, 0.2, 0.1, 0, 2, 0, false};
    scene.xTitle = "X";
    scene.yTitle = "Y";
    scene.style = style;
    scene.font = QFont("DejaVu Sans");
    return scene;
}

QImage Render(const PlotScene& scene, PlotLayout& layout, int width = 800, int height = 500) {
    QImage image = WhiteImage(width, height);
    QPainter painter(&image);
    layout = LayoutPlot(&image, image.rect(), scene, RenderKind::kScreen);
    DrawPlot(painter, layout, scene);
    return image;
}

bool IsDark(QRgb c) {
    return qGray(c) < 96;
}

TEST(PlotRenderer, LogXAxisDrawsItsAxisAndDecadeLabels) {
    SceneData data;
    data.curves.AddColumn();
    PlotScene scene = MakeScene(data);
    scene.x = {1.0, 10000.0, 1.0, 0.1, 0, 3, 1, true};
    PlotLayout layout;
    const QImage image = Render(scene, layout);
    ASSERT_TRUE(layout.ok);
    EXPECT_GT(layout.labelFontSize, 0);
    std::vector<std::string> texts;
    for (const AxisLabel& l : layout.xLabels.labels)
        texts.push_back(l.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"1.0E+0", "1.0E+1", "1.0E+2", "1.0E+3", "1.0E+4"}));
    const PlotFrame& f = layout.map.Frame();
    EXPECT_TRUE(IsDark(image.pixel(f.left + f.width / 3, f.bottom))) << "x axis line";
    // Something of each label's text lies under its decade.
    for (const AxisLabel& l : layout.xLabels.labels) {
        const int px = layout.map.XToPixel(l.position);
        bool ink = false;
        for (int y = f.bottom + 2; y < f.bottom + 2 * layout.textHeight && !ink; ++y) {
            for (int x = px - 10; x <= px + 10 && !ink; ++x)
                ink = IsDark(image.pixel(x, y));
        }
        EXPECT_TRUE(ink) << l.text;
    }
}

TEST(PlotRenderer, BarsTenPixelsApartMeetAtTheirEdges) {
    SceneData data;
    CDataColumn& y = data.curves.AddColumn();
    y.m_crColor = MakePlotColor(0, 128, 0);
    PlotScene scene = MakeScene(data, kStyleBar);
    PlotLayout layout = LayoutPlot(nullptr, QRect(0, 0, 800, 500), scene, RenderKind::kScreen);
    ASSERT_TRUE(layout.ok);
    const int x0 = layout.map.Frame().left + 200;
    data.x.Add(layout.map.PixelToX(x0));
    data.x.Add(layout.map.PixelToX(x0 + 10));
    y.Add(0.5);
    y.Add(0.5);
    const QImage image = Render(scene, layout);
    const int mid = (layout.map.YToPixel(0.5) + layout.map.YToPixel(0.0)) / 2;
    const QRgb green = qRgb(0, 128, 0);
    EXPECT_EQ(image.pixel(x0 - 6, mid), qRgb(255, 255, 255));
    EXPECT_TRUE(IsDark(image.pixel(x0 - 5, mid))) << "outline of the first bar";
    EXPECT_EQ(image.pixel(x0 - 4, mid), green);
    EXPECT_EQ(image.pixel(x0 + 4, mid), green);
    EXPECT_TRUE(IsDark(image.pixel(x0 + 5, mid))) << "shared edge";
    EXPECT_EQ(image.pixel(x0 + 6, mid), green) << "second bar starts at the first's end";
    EXPECT_TRUE(IsDark(image.pixel(x0 + 15, mid)));
    EXPECT_EQ(image.pixel(x0 + 16, mid), qRgb(255, 255, 255));
}

TEST(PlotRenderer, LegendRowsAndWidthRules) {
    SceneData data;
    data.curves.AddColumn();
    CDataColumn& named = data.curves.AddColumn();
    named.m_strName = "Named";
    named.m_crColor = MakePlotColor(255, 0, 0);
    PlotScene scene = MakeScene(data);
    PlotLayout layout;
    const QImage image = Render(scene, layout);
    ASSERT_TRUE(layout.ok);
    ASSERT_GT(layout.legendWidth, 0);
    EXPECT_EQ(layout.draw.width(), 800 - layout.legendWidth);
    // The named curve takes the first row of a block centred for both curves.
    const PlotFrame& f = layout.map.Frame();
    const int row = static_cast<int>(f.bottom - f.height / 2 - layout.legendRowHeight + 0.5);
    const int sampleX = f.left + f.width + layout.legendMargin + layout.legendSample / 2;
    EXPECT_EQ(image.pixel(sampleX, row), qRgb(255, 0, 0));

    named.m_strName.clear();
    EXPECT_EQ(LayoutPlot(nullptr, QRect(0, 0, 800, 500), scene, RenderKind::kScreen).legendWidth,
              0);
    named.m_strName = std::string(120, 'W');
    const PlotLayout wide = LayoutPlot(nullptr, QRect(0, 0, 800, 500), scene, RenderKind::kScreen);
    EXPECT_EQ(wide.legendWidth, 0);
    EXPECT_EQ(wide.draw.width(), 800);
    scene.legend = false;
    named.m_strName = "Named";
    EXPECT_EQ(LayoutPlot(nullptr, QRect(0, 0, 800, 500), scene, RenderKind::kScreen).legendWidth,
              0);
}

TEST(PlotRenderer, TooSmallAreasDrawNothing) {
    SceneData data;
    data.x.Add(0.0);
    data.curves.AddColumn().Add(0.5);
    const PlotScene scene = MakeScene(data);
    for (const QSize size : {QSize(49, 300), QSize(300, 39)}) {
        PlotLayout layout;
        const QImage image = Render(scene, layout, size.width(), size.height());
        EXPECT_FALSE(layout.ok);
        EXPECT_EQ(image, WhiteImage(size.width(), size.height()));
    }
}

TEST(PlotRenderer, CrowdedLabelsShrinkTheirFont) {
    SceneData data;
    PlotScene scene = MakeScene(data);
    scene.x = {0.0, 1e6, 1e5, 1e5, 0, 2, 0, false};
    scene.x.digits = 9; // long texts
    const PlotLayout roomy =
        LayoutPlot(nullptr, QRect(0, 0, 1600, 500), scene, RenderKind::kScreen);
    const PlotLayout tight = LayoutPlot(nullptr, QRect(0, 0, 400, 500), scene, RenderKind::kScreen);
    ASSERT_TRUE(roomy.ok && tight.ok);
    EXPECT_EQ(roomy.labelFontSize, roomy.mainFontSize);
    EXPECT_LT(tight.labelFontSize, tight.mainFontSize);
    EXPECT_EQ(FontHeightForPercent(4, QRect(0, 0, 1600, 1000)), 40);
}

TEST(PlotRenderer, NonFiniteAndHugeValuesBreakTheCurve) {
    SceneData data;
    CDataColumn& y = data.curves.AddColumn();
    for (double v : std::vector<double>{0.2, std::nan(""), 0.4, 1e300, -HUGE_VAL, 0.6}) {
        data.x.Add(static_cast<double>(data.x.GetSize()) * 2.0);
        y.Add(v);
    }
    for (int style = kStyleLine; style <= kStyleStair; ++style) {
        PlotLayout layout;
        Render(MakeScene(data, style), layout); // must neither crash nor trip the sanitizers
        EXPECT_TRUE(layout.ok);
    }
}

TEST_F(PlotUiTest, AutoStyleSwitchesAbove256Points) {
    for (const auto& [points, style] :
         {std::pair{256, kStyleLineAndDot}, std::pair{257, kStyleLine}}) {
        TestPlot plot;
        plot.points = points;
        ShowPlot(plot, 400, 300);
        EXPECT_EQ(plot.m_xData.GetSize(), static_cast<std::size_t>(points));
        EXPECT_EQ(plot.GetStyle(), style);

        // The picture is drawn in that style too, also when the data was just
        // recomputed (the count is unknown until then).
        const QImage automatic = plot.grab().toImage();
        TestPlot fixed;
        fixed.points = points;
        fixed.m_nStyle = style;
        ShowPlot(fixed, 400, 300);
        EXPECT_EQ(automatic, fixed.grab().toImage()) << points << " points";
        plot.Rebuild();
        EXPECT_EQ(plot.grab().toImage(), automatic) << points << " points, rebuilt";
    }
}

} // namespace
} // namespace tarvo::test
