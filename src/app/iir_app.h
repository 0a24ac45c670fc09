#pragma once
// CIirApp: the one application object of the desktop program. It reads and
// writes the settings, owns the document templates, the main window and the
// recent-file list, handles the application's own commands, keeps track of
// the active view for the command routing, and makes the menu bar follow it.

#include "app/frames.h"
#include "app/help_window.h"
#include "app/main_frame.h"
#include "app/splash_dialog.h"
#include "doc/app_options.h"
#include "doc/project_context.h"
#include "fw/application.h"
#include "fw/recent_file_list.h"

#include <memory>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <string>

class QMdiSubWindow;
class QMenu;
class QAction;
class QTimer;

namespace fw {
class ProfileStore;
}

namespace tarvo {

class CommandActions;
class FileChooser;
class PrintService;
class ProjectDialogs;
class QtProjectDialogs;

// What the application is given: the prompts, the settings store and the file
// dialogs (real ones in the program, fakes in tests).
struct AppEnvironment {
    fw::Ui* ui = nullptr;
    fw::ProfileStore* settings = nullptr;
    FileChooser* files = nullptr;
    // The project dialogs; null: the real ones.
    ProjectDialogs* projectDialogs = nullptr;
    bool showSplash = true;
    // Where new export entries point; empty: the user's documents folder.
    std::string documentsFolder;
};

class CIirApp : public QObject, public fw::Application, public FrameServices {
    Q_OBJECT
public:
    explicit CIirApp(const AppEnvironment& environment);
    // Writes the settings and the recent files first, then closes what is open.
    ~CIirApp() override;

    // Start-up: settings, templates, main window, then the files given (each
    // opened; a failed one is reported and the program goes on) or a new project.
    void InitInstance(const QStringList& files);

    // A new project in its design window; null when it could not be made.
    fw::Document* NewProject();
    // Opens a project file (made absolute) through the open probe and remembers
    // it among the recent files; null, after a message, when it cannot be opened.
    fw::Document* OpenFile(const std::string& path);
    // Several files, as the command line, a drop or a second start gives them.
    void OpenFiles(const QStringList& files);

    // Exit: the save prompts; true when everything is closed.
    bool CloseAll();

    CMainFrame* MainFrame() const { return mainFrame_; }
    CommandActions& Actions() const { return *actions_; }
    AppOptions& Options() { return options_; }
    fw::RecentFileList& RecentFiles() { return recent_; }
    fw::DocTemplate* DesignTemplate() const { return templates_.design; }
    const ProjectTemplates& WindowTemplates() const { return templates_; }
    HelpWindow* Help() const { return help_; }
    PrintService& Printing();
    CSplash* Splash() const { return splash_; }

    fw::View* GetActiveView() const override;
    fw::Frame* ActiveFrame() const { return activeFrame_; }
    // Runs a command as a menu item would, then refreshes every command's state.
    void RunCommand(fw::CommandId id);
    void RefreshCommandStates();

    bool OnCommand(fw::CommandId id) override;
    bool OnUpdateCommand(fw::CommandId id, fw::CmdUI& ui) override;

    // FrameServices
    QMdiArea* MdiArea() override;
    QMainWindow* MainWindow() override;
    void RequestCloseFrame(fw::Frame& frame) override;
    void FrameTitleChanged(fw::Frame& frame) override;
    void FrameActivated(fw::Frame& frame) override;
    void PrepareTopLevelWindow(QMainWindow& window, MenuBarKind menuBar) override;

protected:
    void OnFrameClosing(fw::Frame& frame) override;

private:
    void CreateTemplates();
    ProjectContext MakeProjectContext();
    void OnFocusChanged(QWidget* now);
    void OnSubWindowActivated(QMdiSubWindow* window);
    void SetActiveFrame(fw::Frame* frame);
    bool IsLiveFrame(const fw::Frame* frame) const;
    void UpdateMenuBar();
    void UpdateTitles();
    void FillWindowList(QMenu* menu, QAction* marker);
    void OnOpen();
    void OnRecentFile(std::size_t index);
    void OnPreferences();
    void OnAbout();
    void OnHelp(fw::CommandId id);
    void RefreshRecentFileActions();
    void SaveSettings();
    QWidget* DialogParent() const;

    fw::Ui& ui_;
    fw::ProfileStore& settings_;
    FileChooser& files_;
    AppEnvironment environment_;
    AppOptions options_;
    fw::RecentFileList recent_;
    std::unique_ptr<QtProjectDialogs> ownDialogs_;
    ProjectDialogs* dialogs_ = nullptr;
    ProjectTemplates templates_;
    CommandActions* actions_ = nullptr;
    QPointer<CMainFrame> mainFrame_;
    QPointer<HelpWindow> help_;
    QPointer<CSplash> splash_;
    std::unique_ptr<PrintService> printing_;
    QTimer* stateTimer_ = nullptr;
    fw::Frame* activeFrame_ = nullptr;
};

} // namespace tarvo
