#pragma once
// The bridge between a view of the framework and the Qt widget that shows it.
// The frame owns the bridge; Qt owns the widget through its parent. The bridge
// never deletes its widget at once: a view may be destroyed inside a handler of
// its own widget, so the widget goes later, detached from the bridge first.

#include "doc/help_topics.h"
#include "doc/menu_table.h"
#include "fw/view.h"

#include <cstdint>
#include <QPointer>
#include <QWidget>

class QPainter;

namespace tarvo {

class CTarvoIirDoc;
class CIirFilter;

// What an update means to a view that shows its project's filter.
enum class FilterUpdate { kNone, kBound, kChanged };
// The first update carrying a filter binds the view to it (bound is set); a
// later design or sampling-frequency change of that filter changes it.
FilterUpdate ReadFilterUpdate(CIirFilter*& bound, std::int32_t hint, fw::Object* hintObject);

class WidgetView : public fw::View {
public:
    WidgetView() = default;
    ~WidgetView() override;

    QWidget* Widget() const { return widget_; }

    // The view whose widget is w or contains w; null when none.
    static WidgetView* FromWidget(const QWidget* w);

    // The menu bar this view shows when it has the focus; nothing when the
    // menu bar should stay as it is.
    virtual std::optional<MenuBarKind> FocusMenuBar() const = 0;
    // The help topic of this kind of view (F1).
    virtual HelpTopic Help() const = 0;

    // Views that can print draw their page here; the others leave Print disabled.
    virtual bool CanPrint() const { return false; }
    virtual void PrintPage(QPainter& /*painter*/, const QRect& /*page*/) {}

    CTarvoIirDoc* GetIirDocument() const;
    // The view is a pane of its project's design window (where Type commands apply).
    bool IsDesignPane() const;

    // Print and Print Preview of views that can print.
    bool OnCommand(fw::CommandId id) override;
    bool OnUpdateCommand(fw::CommandId id, fw::CmdUI& ui) override;

protected:
    // Takes the widget this view shows (once, from the derived constructor).
    void SetWidget(QWidget* widget);

private:
    QPointer<QWidget> widget_;
};

} // namespace tarvo
