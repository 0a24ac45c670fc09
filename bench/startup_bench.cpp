// Start-up of the desktop program on the offscreen platform: from the
// application object to the first painted design window. The first start of
// the process (Qt's own initialisation, fonts, styles) is timed once and
// printed; the benchmark then times later starts in the same process.

#include "app/file_chooser.h"
#include "app/frames.h"
#include "app/iir_app.h"
#include "app/main_frame.h"
#include "doc/tarvo_iir_doc.h"
#include "fw/memory_profile_store.h"
#include "fw/recording_ui.h"
#include "views/coefficient_view.h"
#include "views/design_form.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QStandardPaths>

namespace {

class NoFiles : public tarvo::FileChooser {
public:
    std::optional<std::string> OpenPath(QWidget*, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> SavePath(QWidget*, const std::string&, const std::string&) override {
        return std::nullopt;
    }
};

// The program started with a new project, its prompts recorded and its
// settings in memory.
struct StartedApp {
    StartedApp() {
        env.ui = &ui;
        env.settings = &store;
        env.files = &files;
        env.showSplash = false;
        env.documentsFolder = "/tmp";
        app = std::make_unique<tarvo::CIirApp>(env);
        app->InitInstance({});
    }
    tarvo::CIirSplitFrame& DesignWindow() const {
        auto* doc = dynamic_cast<tarvo::CTarvoIirDoc*>(app->Documents().front());
        return *dynamic_cast<tarvo::CIirSplitFrame*>(doc->FindDesignFrame());
    }

    fw::RecordingUi ui;
    fw::MemoryProfileStore store;
    NoFiles files;
    tarvo::AppEnvironment env;
    std::unique_ptr<tarvo::CIirApp> app;
};

// Starts the program with a new project and paints its design window once.
void StartAndPaint() {
    const StartedApp started;
    benchmark::DoNotOptimize(started.DesignWindow().Window()->grab());
}

void BM_StartToFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        StartAndPaint();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(BM_StartToFirstPaint)->Unit(benchmark::kMillisecond);

// Design of an order-20 bandpass from the form to the coefficient pane
// repainted, in a 1600 x 1000 main window.
void BM_DesignToCoefficientPane(benchmark::State& state) {
    const StartedApp started;
    started.app->MainFrame()->resize(1600, 1000);
    tarvo::CIirSplitFrame& frame = started.DesignWindow();
    frame.Window()->resize(1590, 900);
    frame.LayoutPanes();
    auto* form = dynamic_cast<tarvo::CIirEditor*>(frame.PaneView(-1));
    auto* pane = dynamic_cast<tarvo::CIirDataView*>(frame.PaneView(1));
    form->Form()->response->setCurrentIndex(tarvo::kBandpass);
    form->Form()->order->setValue(20);
    form->Form()->edge1->setText("0.1");
    form->Form()->edge2->setText("0.2");
    for (auto _ : state) {
        const int before = pane->RenderCount();
        form->Design();
        while (pane->RenderCount() == before)
            QApplication::processEvents();
        pane->Widget()->repaint();
    }
}
BENCHMARK(BM_DesignToCoefficientPane)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    const auto start = std::chrono::steady_clock::now();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    StartAndPaint();
    const auto cold =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start);
    std::printf("Cold start to the first painted design window: %.1f ms\n", cold.count());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
