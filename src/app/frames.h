#pragma once
// The frames of the desktop program: thin bridges between the framework's
// frames and their Qt windows. A frame owns its views (as every framework
// frame does); its window belongs to Qt and is deleted later when the frame
// goes.

#include "app/frame_windows.h"
#include "doc/design_frame.h"
#include "doc/menu_table.h"
#include "fw/frame.h"

#include <array>
#include <memory>
#include <QPointer>
#include <QWidget>

class QMainWindow;
class QMdiArea;
class QSplitter;

namespace tarvo {

struct AppOptions;
class CTarvoIirDoc;
class WidgetView;

// What frames need from the application around them.
class FrameServices {
public:
    FrameServices() = default;
    FrameServices(const FrameServices&) = delete;
    FrameServices& operator=(const FrameServices&) = delete;
    virtual ~FrameServices() = default;

    virtual QMdiArea* MdiArea() = 0;
    virtual QMainWindow* MainWindow() = 0;
    // The user asked to close the frame's window (the close button).
    virtual void RequestCloseFrame(fw::Frame& frame) = 0;
    // The frame's document changed its title or modified state.
    virtual void FrameTitleChanged(fw::Frame& frame) = 0;
    // The frame was brought to the top: commands go to its active view now.
    virtual void FrameActivated(fw::Frame& frame) = 0;
    // Gives a free-standing window its menu bar and the keys of every command.
    virtual void PrepareTopLevelWindow(QMainWindow& window, MenuBarKind menuBar) = 0;
};

// The part every frame of the desktop program shares: its window.
class ShellFrame {
public:
    ShellFrame() = default;
    ShellFrame(const ShellFrame&) = delete;
    ShellFrame& operator=(const ShellFrame&) = delete;
    virtual ~ShellFrame() = default;

    // The window: an inner window of the MDI area or a free-standing one.
    virtual QWidget* Window() const = 0;
    // Sets the window's title; modified adds the mark.
    void SetTitle(const QString& title, bool modified);

    // The frame whose window is w or contains w; null when none.
    static fw::Frame* FrameOf(const QWidget* w);

protected:
    void Register(QWidget* window, fw::Frame* frame);
    // The frame goes: its window stops asking to close, leaves the registry,
    // disappears at once and is deleted later.
    template <class W> void ReleaseWindow(QPointer<W>& window) {
        if (window == nullptr) return;
        Unregister(window);
        window->SetCloseRequest({});
        Dispose(window);
    }

private:
    void Unregister(QWidget* window);
    static void Dispose(QWidget* window);
};

// An inner window of the main window holding one view: the Coefficients and
// time-response windows.
class CIirChildFrame : public fw::Frame, public ShellFrame {
public:
    CIirChildFrame(FrameServices& services, std::unique_ptr<WidgetView> view, fw::Document& doc);
    ~CIirChildFrame() override;

    QWidget* Window() const override;
    void ActivateFrame() override;
    void OnUpdateFrameTitle() override { services_.FrameTitleChanged(*this); }

protected:
    CIirChildFrame(FrameServices& services);
    MdiFrameWindow* SubWindow() const { return window_; }
    FrameServices& Services() const { return services_; }
    // Size of a new window inside the MDI area (the default leaves it to Qt).
    virtual QSize InitialSize(QSize areaSize) const;

private:
    FrameServices& services_;
    QPointer<MdiFrameWindow> window_;
    bool shown_ = false;
};

// The design window: the design form over two panes on the left, three panes on
// the right, laid out from the project's layout record 0.
class CIirSplitFrame : public DesignFrame, public ShellFrame {
public:
    CIirSplitFrame(FrameServices& services, CTarvoIirDoc& doc);
    ~CIirSplitFrame() override;

    QWidget* Window() const override;
    void ActivateFrame() override;
    void OnUpdateFrameTitle() override { services_.FrameTitleChanged(*this); }

    std::optional<std::int32_t> PaneIndexOf(const fw::View& view) const override;
    void LayoutPanes() override;

    // The view in pane index (0..4), the form for -1.
    WidgetView* PaneView(int index) const;
    QSplitter* MainSplitter() const { return main_; }
    QSplitter* LeftSplitter() const { return left_; }
    QSplitter* LeftLowerSplitter() const { return leftLower_; }
    QSplitter* RightSplitter() const { return right_; }

    // F6 and Shift+F6: the focus goes round form and panes.
    bool OnCommand(fw::CommandId id) override;
    bool OnUpdateCommand(fw::CommandId id, fw::CmdUI& ui) override;

private:
    // Creates the pane views (all of them, or only those whose class changes)
    // and sizes every row and column for the window's client size.
    void Layout(bool replace);
    void ApplySizes();
    void MoveFocus(int step);

    FrameServices& services_;
    CTarvoIirDoc& doc_;
    QPointer<MdiFrameWindow> window_;
    QSplitter* main_ = nullptr;
    QSplitter* left_ = nullptr;
    QSplitter* leftLower_ = nullptr;
    QSplitter* right_ = nullptr;
    WidgetView* form_ = nullptr;
    std::array<WidgetView*, 5> panes_{};
    bool shown_ = false;
};

// The Magnitude and Unwrapped Phase window: a column of frequency plots, one
// per plot type the project has pending.
class CMultiPlotFrame : public CIirChildFrame {
public:
    CMultiPlotFrame(FrameServices& services, CTarvoIirDoc& doc);
    QSplitter* Column() const { return column_; }

private:
    void OnWindowState();
    QSplitter* column_ = nullptr;
    bool wasMaximized_ = false;
};

// A free-standing window with one view and a menu bar of its own: the single
// frequency plots and the pole-zero plot.
class CTopLevelFrame : public fw::Frame, public ShellFrame {
public:
    CTopLevelFrame(FrameServices& services, std::unique_ptr<WidgetView> view, fw::Document& doc,
                   MenuBarKind menuBar);
    ~CTopLevelFrame() override;

    QWidget* Window() const override;
    void ActivateFrame() override;
    void OnUpdateFrameTitle() override { services_.FrameTitleChanged(*this); }

private:
    FrameServices& services_;
    QPointer<TopLevelFrameWindow> window_;
    bool poleZero_;
    bool shown_ = false;
};

} // namespace tarvo
