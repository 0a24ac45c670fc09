#pragma once
// CIirDataView: the project's coefficients as text, exactly as an export in the
// project's coefficient-view format would write them, in a plain text editor
// with a fixed-pitch font. The user may edit, search, copy and print the text;
// it is never read back and is written anew after every change of the design.

#include "views/find_dialog.h"
#include "views/widget_view.h"

#include <functional>
#include <optional>
#include <QFont>
#include <QPlainTextEdit>
#include <QPointer>

class QMenu;
class QTimer;

namespace fw {
class Document;
}

namespace tarvo {

class CIirFileFormat;
class CIirFilter;

class CIirDataView : public WidgetView {
public:
    // Makes the context menu (the "&Data" items as the application's actions);
    // the view shows it and deletes it afterwards. Without one there is none.
    using ContextMenuBuilder = std::function<QMenu*(QWidget* parent)>;
    // Runs the "Coefficients View Format" dialog on format (a copy of the
    // project's); true on OK, with format holding the choice.
    using FormatDialog = std::function<bool(QWidget* parent, CIirFileFormat& format)>;
    // Asks for a fixed-pitch font; nothing on Cancel. By default the font dialog.
    using FontChooser = std::function<std::optional<QFont>(QWidget* parent, const QFont& current)>;

    static void SetContextMenuBuilder(ContextMenuBuilder builder);
    static void SetFormatDialog(FormatDialog dialog);
    static void SetFontChooser(FontChooser chooser);

    CIirDataView();
    ~CIirDataView() override;

    void OnUpdate(fw::View* sender, std::int32_t hint, fw::Object* hintObject) override;
    std::optional<MenuBarKind> FocusMenuBar() const override;
    HelpTopic Help() const override;
    bool CanPrint() const override { return true; }
    // The whole text, over as many pages as it needs, in the view's font.
    void PrintPage(QPainter& painter, const QRect& page) override;

    bool OnCommand(fw::CommandId id) override;
    bool OnUpdateCommand(fw::CommandId id, fw::CmdUI& ui) override;

    bool IsBound() const { return filter_ != nullptr; }
    bool IsDesigned() const;
    QPlainTextEdit* Edit() const { return edit_; }

    // The text is out of date: it is written anew once, at the next turn of the
    // event loop while the view is shown, or when it is next shown.
    void Invalidate();
    // Writes the text now if it is out of date.
    void RenderIfStale();
    // How often the text was written (for measuring and tests).
    int RenderCount() const { return renders_; }
    // Every coefficient view of doc writes its text anew (after a format change).
    static void InvalidateAll(const fw::Document& doc);

    // Find Next with the request; a miss tells the user. True when found.
    bool FindNext(const FindRequest& request);
    // Replaces the selection when it is a match, then finds the next one.
    void ReplaceOne(const FindRequest& request);
    // Replaces every match as one edit step; returns how many.
    int ReplaceAll(const FindRequest& request);
    // The Find / Replace window (null until first opened).
    FindDialog* Finder() const { return finder_; }

private:
    void Render();
    void OpenFinder(bool replace);
    void RunFormatDialog();
    void ChooseFont();
    void ReportNotFound(const QString& what);

    QPointer<QPlainTextEdit> edit_;
    QPointer<FindDialog> finder_;
    QPointer<QTimer> renderTimer_;
    CIirFilter* filter_ = nullptr;
    std::optional<FindRequest> lastSearch_;
    bool stale_ = false;
    int renders_ = 0;
};

} // namespace tarvo
