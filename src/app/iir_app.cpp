#include "app/iir_app.h"

#include "app/about_dialog.h"
#include "app/command_actions.h"
#include "app/export_files_dialog.h"
#include "app/export_format_dialog.h"
#include "app/file_chooser.h"
#include "app/frame_windows.h"
#include "app/help_window.h"
#include "app/main_frame.h"
#include "app/plot_properties_dialog.h"
#include "app/preferences_dialog.h"
#include "app/project_templates.h"
#include "app/qt_project_dialogs.h"
#include "app/qt_ui.h"
#include "app/settings_store.h"
#include "app/splash_dialog.h"
#include "doc/project_file.h"
#include "doc/tarvo_iir_doc.h"
#include "fw/command_ids.h"
#include "fw/document.h"
#include "fw/ui.h"
#include "fw/window_title.h"
#include "views/design_report_view.h"
#include "views/pane_views.h"
#include "views/print_service.h"

#include <algorithm>
#include <exception>
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSessionManager>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QWhatsThis>

namespace tarvo {
namespace {

constexpr const char* kAppName = "TarvoIIR";
constexpr const char* kWindowListProperty = "tarvoWindowListItem";
// The toolbar's buttons follow the state of their commands this often.
constexpr int kStateRefreshMs = 250;

QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

std::string DocumentsFolder(const AppEnvironment& env) {
    if (!env.documentsFolder.empty()) return env.documentsFolder;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
}

} // namespace

CIirApp::CIirApp(const AppEnvironment& environment)
    : fw::Application(*environment.ui), ui_(*environment.ui), settings_(*environment.settings),
      files_(*environment.files), environment_(environment), recent_(4) {
    actions_ =
        new CommandActions([this](fw::CommandId id) { RunCommand(id); },
                           [this](fw::CommandId id) { return UpdateCommandState(id); }, this);
    actions_->SetWindowListFiller(
        [this](QMenu* menu, QAction* marker) { FillWindowList(menu, marker); });
    stateTimer_ = new QTimer(this);
    stateTimer_->setInterval(kStateRefreshMs);
    connect(stateTimer_, &QTimer::timeout, this, [this] { RefreshCommandStates(); });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* /*old*/, QWidget* now) { OnFocusChanged(now); });
    // The desktop session ends: the same save prompts as Exit.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& session) {
        if (session.allowsInteraction() && !SaveAllModified()) session.cancel();
    });
}

CIirApp::~CIirApp() {
    // The views' hooks reach into this object.
    CIirDataView::SetContextMenuBuilder({});
    CIirDataView::SetFormatDialog({});
    CZoomPlot::SetContextMenuBuilder({});
    CIirPlot::SetPropertiesDialog({});
    CPlot::SetUi(nullptr);
    SaveSettings();
    stateTimer_->stop();
    for (fw::Document* doc : Documents())
        CloseDocument(*doc, false);
    if (splash_ != nullptr) delete splash_.data();
    if (help_ != nullptr) delete help_.data();
    if (mainFrame_ != nullptr) delete mainFrame_.data();
}

void CIirApp::SaveSettings() {
    options_.SaveOptions(settings_);
    recent_.Save(settings_);
    if (auto* store = dynamic_cast<SettingsStore*>(&settings_); store != nullptr) store->Sync();
}

void CIirApp::InitInstance(const QStringList& files) {
    recent_.Load(settings_);
    options_.LoadOptions(settings_);
    if (environment_.projectDialogs != nullptr) {
        dialogs_ = environment_.projectDialogs;
    } else {
        ownDialogs_ = std::make_unique<QtProjectDialogs>(nullptr, ui_);
        ownDialogs_->SetExportFilesDialog([this](CExportFiles& exports) {
            RunExportFilesDialog(exports, ui_, files_, DialogParent());
        });
        dialogs_ = ownDialogs_.get();
    }
    CreateTemplates();

    mainFrame_ = new CMainFrame(*actions_);
    mainFrame_->SetCloseHandler([this] { return CloseAll(); });
    mainFrame_->SetDropHandler([this](const QStringList& dropped) { OpenFiles(dropped); });
    connect(mainFrame_->MdiArea(), &QMdiArea::subWindowActivated, this,
            [this](QMdiSubWindow* w) { OnSubWindowActivated(w); });
    if (ownDialogs_) ownDialogs_->SetParent(mainFrame_);
    if (auto* qtUi = dynamic_cast<QtUi*>(&ui_); qtUi != nullptr) {
        qtUi->SetParentWindow(mainFrame_);
        qtUi->SetStatusSink([this](const QString& text) {
            if (mainFrame_ != nullptr) mainFrame_->SetStatusText(text);
        });
        qtUi->SetLastingStatusSink([this](const QString& text) {
            if (mainFrame_ != nullptr) mainFrame_->SetLastingStatus(text);
        });
        qtUi->SetBeforeModal([this] {
            if (splash_ != nullptr) splash_->close();
        });
    }
    printing_ = std::make_unique<PrintService>();
    CIirDataView::SetContextMenuBuilder([this](QWidget* parent) {
        return actions_->BuildContextMenu(MenuBarKind::kCoefficients, parent);
    });
    CIirDataView::SetFormatDialog([this](QWidget* parent, CIirFileFormat& format) {
        return RunViewFormatDialog(format, ui_, parent);
    });
    CPlot::SetUi(&ui_);
    CPlot::MainTitlesDefault() = options_.m_bEnableMainPlotTitles != 0;
    CZoomPlot::SetContextMenuBuilder([this](int menuId, QWidget* parent) -> QMenu* {
        switch (menuId) {
        case kFreqPlotContextMenu:
            return actions_->BuildContextMenu(MenuBarKind::kFrequency, parent);
        case kTimePlotContextMenu:
            return actions_->BuildContextMenu(MenuBarKind::kTime, parent);
        case kPoleZeroContextMenu:
            return actions_->BuildContextMenu(MenuBarKind::kPoleZero, parent);
        default:
            return nullptr;
        }
    });
    CIirPlot::SetPropertiesDialog([this](QWidget* parent, PlotProperties& properties) {
        CIirPlotProperties dialog(properties, ui_, parent);
        if (dialog.exec() != QDialog::Accepted) return false;
        properties = dialog.GetProperties();
        return true;
    });

    if (const QScreen* screen = QGuiApplication::primaryScreen(); screen != nullptr) {
        const QRect area = screen->availableGeometry();
        mainFrame_->resize(area.width() * 9 / 10, area.height() * 9 / 10);
    }
    mainFrame_->show();
    RefreshRecentFileActions();

    if (environment_.showSplash) {
        splash_ = new CSplash(mainFrame_);
        splash_->setAttribute(Qt::WA_DeleteOnClose);
        splash_->show();
    }
    if (files.isEmpty()) {
        NewProject();
    } else {
        OpenFiles(files);
    }
    UpdateMenuBar();
    UpdateTitles();
    RefreshCommandStates();
    stateTimer_->start();
}

void CIirApp::CreateTemplates() {
    auto& design = AddDocTemplate(
        std::make_unique<ProjectTemplate>(*this, ui_, [this] { return MakeProjectContext(); }));
    auto& coefficients = AddDocTemplate(std::make_unique<WindowTemplate>([this](CTarvoIirDoc& doc) {
        return std::make_unique<CIirChildFrame>(*this, std::make_unique<CIirDataView>(), doc);
    }));
    auto& frequency = AddDocTemplate(std::make_unique<WindowTemplate>([this](CTarvoIirDoc& doc) {
        return std::make_unique<CTopLevelFrame>(*this, std::make_unique<CIirFreqPlot>(), doc,
                                                MenuBarKind::kFrequency);
    }));
    auto& time = AddDocTemplate(std::make_unique<WindowTemplate>([this](CTarvoIirDoc& doc) {
        return std::make_unique<CIirChildFrame>(*this, std::make_unique<CIirTimePlot>(), doc);
    }));
    auto& poleZero = AddDocTemplate(std::make_unique<WindowTemplate>([this](CTarvoIirDoc& doc) {
        return std::make_unique<CTopLevelFrame>(*this, std::make_unique<CPoleZeroPlot>(), doc,
                                                MenuBarKind::kPoleZero);
    }));
    auto& multi = AddDocTemplate(std::make_unique<WindowTemplate>(
        [this](CTarvoIirDoc& doc) { return std::make_unique<CMultiPlotFrame>(*this, doc); }));
    auto& report = AddDocTemplate(std::make_unique<WindowTemplate>([this](CTarvoIirDoc& doc) {
        return std::make_unique<CIirChildFrame>(*this, std::make_unique<CDesignReportView>(), doc);
    }));
    templates_ = {&design, &coefficients, &frequency, &time, &poleZero, &multi, &report};
}

ProjectContext CIirApp::MakeProjectContext() {
    ProjectContext context;
    context.options = &options_;
    context.settingsStore = &settings_;
    context.dialogs = dialogs_;
    context.templates = templates_;
    context.documentsFolder = DocumentsFolder(environment_);
    return context;
}

fw::Document* CIirApp::NewProject() {
    fw::Document* doc = OpenNewDocument(*templates_.design);
    UpdateTitles();
    UpdateMenuBar();
    return doc;
}

fw::Document* CIirApp::OpenFile(const std::string& path) {
    // The recent-file list and the window titles need the full path.
    const std::string absolute = QFileInfo(ToQString(path)).absoluteFilePath().toStdString();
    fw::Document* doc = OpenProjectFile(*this, *templates_.design, absolute);
    if (doc != nullptr) {
        recent_.Add(absolute);
        RefreshRecentFileActions();
    }
    UpdateTitles();
    UpdateMenuBar();
    return doc;
}

void CIirApp::OpenFiles(const QStringList& files) {
    for (const QString& file : files)
        OpenFile(file.toStdString());
    if (mainFrame_ != nullptr) {
        mainFrame_->raise();
        mainFrame_->activateWindow();
    }
    RefreshCommandStates();
}

bool CIirApp::CloseAll() {
    if (!SaveAllModified()) return false;
    for (fw::Document* doc : Documents())
        CloseDocument(*doc, false);
    if (splash_ != nullptr) splash_->close();
    if (help_ != nullptr) help_->close();
    UpdateMenuBar();
    return true;
}

PrintService& CIirApp::Printing() {
    if (!printing_) printing_ = std::make_unique<PrintService>();
    return *printing_;
}

QWidget* CIirApp::DialogParent() const {
    if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr) return modal;
    if (QWidget* active = QApplication::activeWindow(); active != nullptr) return active;
    return mainFrame_;
}

// ---- active view and menus

fw::View* CIirApp::GetActiveView() const {
    return activeFrame_ != nullptr ? activeFrame_->GetActiveView() : nullptr;
}

bool CIirApp::IsLiveFrame(const fw::Frame* frame) const {
    // A frame being made or destroyed is in no template's list.
    for (fw::DocTemplate* t : fw::Application::Templates()) {
        const std::vector<fw::Frame*> frames = t->Frames();
        if (std::find(frames.begin(), frames.end(), frame) != frames.end()) return true;
    }
    return false;
}

void CIirApp::SetActiveFrame(fw::Frame* frame) {
    if (!IsLiveFrame(frame)) return;
    activeFrame_ = frame;
    UpdateTitles();
}

void CIirApp::OnFocusChanged(QWidget* now) {
    if (now == nullptr) return;
    if (WidgetView* view = WidgetView::FromWidget(now); view != nullptr) {
        fw::Frame* frame = view->GetParentFrame();
        if (frame == nullptr || !IsLiveFrame(frame)) return;
        frame->SetActiveView(view);
        SetActiveFrame(frame);
    } else if (fw::Frame* frame = ShellFrame::FrameOf(now); frame != nullptr) {
        SetActiveFrame(frame);
    } else {
        // Focus in a dialog, a menu or the toolbar: the active view stays.
        return;
    }
    UpdateMenuBar();
    RefreshCommandStates();
}

void CIirApp::OnSubWindowActivated(QMdiSubWindow* window) {
    if (window == nullptr) return;
    if (fw::Frame* frame = ShellFrame::FrameOf(window); frame != nullptr) {
        SetActiveFrame(frame);
        UpdateMenuBar();
        RefreshCommandStates();
    }
}

void CIirApp::UpdateMenuBar() {
    if (mainFrame_ == nullptr) return;
    if (Documents().empty()) {
        mainFrame_->ShowMenuBar(MenuBarKind::kMain);
        return;
    }
    const auto* view = dynamic_cast<const WidgetView*>(GetActiveView());
    if (view == nullptr) {
        if (mainFrame_->CurrentMenuBar() == MenuBarKind::kMain) {
            mainFrame_->ShowMenuBar(MenuBarKind::kDesign);
        }
        return;
    }
    if (const std::optional<MenuBarKind> kind = view->FocusMenuBar()) {
        mainFrame_->ShowMenuBar(*kind);
    } else if (mainFrame_->CurrentMenuBar() == MenuBarKind::kMain) {
        mainFrame_->ShowMenuBar(MenuBarKind::kDesign);
    }
}

void CIirApp::UpdateTitles() {
    if (mainFrame_ == nullptr) return;
    QString activeTitle;
    bool activeModified = false;
    for (fw::Document* doc : Documents()) {
        std::vector<fw::Frame*> frames;
        for (fw::DocTemplate* t : fw::Application::Templates()) {
            for (fw::Frame* f : t->FramesOf(*doc))
                frames.push_back(f);
        }
        const int count = static_cast<int>(frames.size());
        for (int i = 0; i < count; ++i) {
            fw::Frame* frame = frames[static_cast<std::size_t>(i)];
            const QString title = ToQString(fw::FrameTitle(doc->GetTitle(), i + 1, count));
            if (auto* shell = dynamic_cast<ShellFrame*>(frame); shell != nullptr) {
                shell->SetTitle(title, doc->IsModified());
            }
            if (frame == activeFrame_) {
                activeTitle = title;
                activeModified = doc->IsModified();
            }
        }
    }
    mainFrame_->setWindowTitle(ToQString(fw::MainWindowTitle(kAppName, activeTitle.toStdString())) +
                               "[*]");
    mainFrame_->setWindowModified(activeModified);
}

void CIirApp::FillWindowList(QMenu* menu, QAction* marker) {
    for (QAction* a : menu->actions()) {
        if (a->property(kWindowListProperty).toBool()) {
            menu->removeAction(a);
            a->deleteLater();
        }
    }
    QMdiArea* area = mainFrame_->MdiArea();
    const QList<QMdiSubWindow*> windows = area->subWindowList();
    int number = 1;
    for (QMdiSubWindow* w : windows) {
        if (!w->isVisible() && !w->isMinimized()) continue;
        QString title = w->windowTitle();
        title.replace(QStringLiteral("[*]"),
                      w->isWindowModified() ? QStringLiteral("*") : QString());
        auto* item = new QAction(QStringLiteral("&%1 %2").arg(number++).arg(title), menu);
        item->setProperty(kWindowListProperty, true);
        item->setCheckable(true);
        item->setChecked(w == area->activeSubWindow());
        connect(item, &QAction::triggered, area, [area, w] { area->setActiveSubWindow(w); });
        menu->insertAction(nullptr, item);
    }
    marker->setVisible(number > 1);
}

void CIirApp::RefreshRecentFileActions() {
    for (std::size_t i = 0; i < recent_.Capacity(); ++i) {
        QAction* a = actions_->Action(fw::kIdFileMruFirst + static_cast<fw::CommandId>(i));
        const bool used = i < recent_.Size();
        a->setVisible(used);
        if (used) a->setText(ToQString(recent_.MenuText(i)));
    }
}

void CIirApp::RefreshCommandStates() {
    if (mainFrame_ == nullptr) return;
    actions_->Refresh();
}

void CIirApp::RunCommand(fw::CommandId id) {
    try {
        DoCommand(id);
    } catch (const std::exception& e) {
        // Out of memory or a container limit: report it and keep what is open.
        ui_.Message(std::string("The command could not be completed (") + e.what() + ").",
                    fw::Icon::Error);
    }
    UpdateMenuBar();
    UpdateTitles();
    RefreshCommandStates();
}

// ---- the application's commands

bool CIirApp::OnCommand(fw::CommandId id) {
    if (id >= fw::kIdFileMruFirst && id <= fw::kIdFileMruLast) {
        OnRecentFile(static_cast<std::size_t>(id - fw::kIdFileMruFirst));
        return true;
    }
    QMdiArea* area = mainFrame_ != nullptr ? mainFrame_->MdiArea() : nullptr;
    switch (id) {
    case fw::kIdFileNew:
        NewProject();
        return true;
    case fw::kIdFileOpen:
        OnOpen();
        return true;
    case fw::kIdFileClose:
        if (fw::View* view = GetActiveView(); view != nullptr && view->GetDocument() != nullptr) {
            CloseDocument(*view->GetDocument(), true);
        }
        return true;
    case fw::kIdFilePrintSetup:
        Printing().Setup(DialogParent());
        return true;
    case fw::kIdPreferences:
        OnPreferences();
        return true;
    case fw::kIdAppAbout:
        OnAbout();
        return true;
    case fw::kIdHelpContents:
    case fw::kIdHelpIndex:
    case fw::kIdHelpSearch:
    case fw::kIdHelp:
        OnHelp(id);
        return true;
    case fw::kIdContextHelp:
        QWhatsThis::enterWhatsThisMode();
        return true;
    case fw::kIdAppExit:
        if (mainFrame_ != nullptr) mainFrame_->close();
        return true;
    case fw::kIdViewToolbar:
        mainFrame_->ToolBar()->setVisible(!mainFrame_->ToolBar()->isVisible());
        return true;
    case fw::kIdViewStatusBar:
        mainFrame_->statusBar()->setVisible(!mainFrame_->statusBar()->isVisible());
        return true;
    case fw::kIdWindowCascade:
        area->cascadeSubWindows();
        return true;
    case fw::kIdWindowTile:
        area->tileSubWindows();
        return true;
    case fw::kIdWindowNext:
        area->activateNextSubWindow();
        return true;
    case fw::kIdWindowPrevious:
        area->activatePreviousSubWindow();
        return true;
    default:
        return false;
    }
}

bool CIirApp::OnUpdateCommand(fw::CommandId id, fw::CmdUI& ui) {
    if (id >= fw::kIdFileMruFirst && id <= fw::kIdFileMruLast) {
        ui.Enable(static_cast<std::size_t>(id - fw::kIdFileMruFirst) < recent_.Size());
        return true;
    }
    const bool hasWindows =
        mainFrame_ != nullptr && !mainFrame_->MdiArea()->subWindowList().isEmpty();
    switch (id) {
    case fw::kIdFileNew:
    case fw::kIdFileOpen:
    case fw::kIdFilePrintSetup:
    case fw::kIdPreferences:
    case fw::kIdAppAbout:
    case fw::kIdHelpContents:
    case fw::kIdHelpIndex:
    case fw::kIdHelpSearch:
    case fw::kIdHelp:
    case fw::kIdContextHelp:
    case fw::kIdAppExit:
        ui.Enable();
        return true;
    case fw::kIdFileClose:
        ui.Enable(GetActiveView() != nullptr);
        return true;
    case fw::kIdViewToolbar:
        ui.Enable();
        ui.SetCheck(mainFrame_ != nullptr && !mainFrame_->ToolBar()->isHidden());
        return true;
    case fw::kIdViewStatusBar:
        ui.Enable();
        ui.SetCheck(mainFrame_ != nullptr && !mainFrame_->statusBar()->isHidden());
        return true;
    case fw::kIdWindowCascade:
    case fw::kIdWindowTile:
    case fw::kIdWindowNext:
    case fw::kIdWindowPrevious:
        ui.Enable(hasWindows);
        return true;
    default:
        return false;
    }
}

void CIirApp::OnOpen() {
    std::string folder = DocumentsFolder(environment_);
    if (recent_.Size() > 0)
        folder = QFileInfo(ToQString(recent_.At(0))).absolutePath().toStdString();
    const std::optional<std::string> path = files_.OpenPath(
        DialogParent(), templates_.design->GetDocString(fw::DocTemplate::DocString::FilterName),
        folder);
    if (path) OpenFile(*path);
}

void CIirApp::OnRecentFile(std::size_t index) {
    if (index >= recent_.Size()) return;
    const std::string path = recent_.At(index);
    if (OpenFile(path) == nullptr) {
        // The open has said why; the entry goes.
        recent_.Remove(path);
        RefreshRecentFileActions();
    }
}

void CIirApp::OnPreferences() {
    CIirPreferences dialog(options_.m_bEnableMainPlotTitles != 0, options_.m_dMinDb, ui_,
                           DialogParent());
    if (dialog.exec() != QDialog::Accepted) return;
    options_.m_bEnableMainPlotTitles = dialog.GetEnableMainPlotTitles() ? 1 : 0;
    CPlot::MainTitlesDefault() = options_.m_bEnableMainPlotTitles != 0;
    options_.m_dMinDb = dialog.GetDefaultMinDb();
    options_.SaveOptions(settings_);
    if (auto* store = dynamic_cast<SettingsStore*>(&settings_); store != nullptr) store->Sync();
    // Open plots show the title setting at once.
    for (fw::Document* doc : Documents()) {
        for (fw::View* v : doc->Views()) {
            if (auto* plot = dynamic_cast<CIirPlot*>(v); plot != nullptr) {
                plot->Plot()->m_bMainTitle = CPlot::MainTitlesDefault();
                plot->Plot()->Rebuild();
            } else if (auto* view = dynamic_cast<WidgetView*>(v); view != nullptr && view->Widget()) {
                view->Widget()->update();
            }
        }
    }
}

void CIirApp::OnAbout() {
    CAboutDlg dialog(DialogParent());
    dialog.exec();
}

void CIirApp::OnHelp(fw::CommandId id) {
    if (help_ == nullptr) {
        help_ = new HelpWindow(nullptr);
        help_->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    switch (id) {
    case fw::kIdHelpContents:
        help_->ShowContents();
        break;
    case fw::kIdHelpIndex:
        help_->ShowIndex();
        break;
    case fw::kIdHelpSearch:
        help_->ShowSearch();
        break;
    default: {
        const auto* view = dynamic_cast<const WidgetView*>(GetActiveView());
        const std::string_view page =
            HelpPageFor(view != nullptr ? view->Help() : HelpTopic::kGettingStarted);
        help_->ShowPage(QString::fromUtf8(page.data(), static_cast<qsizetype>(page.size())));
        break;
    }
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

// ---- FrameServices

QMdiArea* CIirApp::MdiArea() {
    return mainFrame_->MdiArea();
}

QMainWindow* CIirApp::MainWindow() {
    return mainFrame_;
}

void CIirApp::RequestCloseFrame(fw::Frame& frame) {
    CloseFrame(frame);
    UpdateMenuBar();
    UpdateTitles();
    RefreshCommandStates();
}

void CIirApp::FrameTitleChanged(fw::Frame& /*frame*/) {
    UpdateTitles();
}

void CIirApp::FrameActivated(fw::Frame& frame) {
    SetActiveFrame(&frame);
    UpdateMenuBar();
}

void CIirApp::PrepareTopLevelWindow(QMainWindow& window, MenuBarKind menuBar) {
    for (QMenu* menu : actions_->BuildMenus(menuBar, &window))
        window.menuBar()->addMenu(menu);
    // The keys of every command work in this window too.
    window.addActions(actions_->KeyedActions());
}

void CIirApp::OnFrameClosing(fw::Frame& frame) {
    if (activeFrame_ == &frame) activeFrame_ = nullptr;
}

} // namespace tarvo
