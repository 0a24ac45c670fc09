#include "views/coefficient_view.h"

#include "design/iir_filter.h"
#include "doc/design_frame.h"
#include "doc/tarvo_iir_doc.h"
#include "doc/view_command_ids.h"
#include "export/coefficient_text.h"
#include "fw/command_ids.h"
#include "fw/ui.h"
#include "views/coefficient_view_rules.h"

#include <optional>
#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QFontDatabase>
#include <QFontDialog>
#include <QMenu>
#include <QMimeData>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>

namespace tarvo {
namespace {

CIirDataView::ContextMenuBuilder& ContextMenuHook() {
    static CIirDataView::ContextMenuBuilder hook;
    return hook;
}

CIirDataView::FormatDialog& FormatDialogHook() {
    static CIirDataView::FormatDialog hook;
    return hook;
}

std::optional<QFont> AskForFont(QWidget* parent, const QFont& current) {
    bool ok = false;
    QFont font = QFontDialog::getFont(&ok, current, parent, QStringLiteral("Font"),
                                      QFontDialog::MonospacedFonts);
    if (!ok) return std::nullopt;
    font.setFixedPitch(true);
    return font;
}

CIirDataView::FontChooser& FontChooserHook() {
    static CIirDataView::FontChooser hook = AskForFont;
    return hook;
}

// The live view whose editor is edit; null once the view is gone (its editor
// may outlive it for a moment).
CIirDataView* ViewOf(const QWidget* edit) {
    auto* view = dynamic_cast<CIirDataView*>(WidgetView::FromWidget(edit));
    return view != nullptr && view->Edit() == edit ? view : nullptr;
}

QTextDocument::FindFlags FlagsOf(const FindRequest& request) {
    QTextDocument::FindFlags flags;
    if (request.matchCase) flags |= QTextDocument::FindCaseSensitively;
    if (request.wholeWord) flags |= QTextDocument::FindWholeWords;
    return flags;
}

// The editor: a plain text editor that asks its view for the text when shown,
// for the context menu when asked, and leaves dropped files to the window.
class CoefficientEdit : public QPlainTextEdit {
public:
    CoefficientEdit() {
        setLineWrapMode(QPlainTextEdit::NoWrap);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setStyleHint(QFont::TypeWriter);
        setFont(font);
    }

    // Splitters may make a pane as small as the layout wants.
    QSize minimumSizeHint() const override { return {0, 0}; }

protected:
    void showEvent(QShowEvent* event) override {
        QPlainTextEdit::showEvent(event);
        if (CIirDataView* view = ViewOf(this); view != nullptr) view->RenderIfStale();
    }

    void contextMenuEvent(QContextMenuEvent* event) override {
        const CIirDataView* view = ViewOf(this);
        if (view == nullptr || !view->IsBound() || !ContextMenuHook()) return;
        QPointer<QMenu> menu = ContextMenuHook()(this);
        if (menu == nullptr) return;
        // A Type item may replace the view while the menu runs: nothing of it
        // is touched afterwards.
        menu->exec(event->globalPos());
        if (menu != nullptr) menu->deleteLater();
    }

    void dragEnterEvent(QDragEnterEvent* event) override {
        if (event->mimeData()->hasUrls()) {
            event->ignore();
            return;
        }
        QPlainTextEdit::dragEnterEvent(event);
    }

    void dropEvent(QDropEvent* event) override {
        if (event->mimeData()->hasUrls()) {
            event->ignore();
            return;
        }
        QPlainTextEdit::dropEvent(event);
    }
};

} // namespace

void CIirDataView::SetContextMenuBuilder(ContextMenuBuilder builder) {
    ContextMenuHook() = std::move(builder);
}

void CIirDataView::SetFormatDialog(FormatDialog dialog) {
    FormatDialogHook() = std::move(dialog);
}

void CIirDataView::SetFontChooser(FontChooser chooser) {
    FontChooserHook() = chooser ? std::move(chooser) : FontChooser(AskForFont);
}

CIirDataView::CIirDataView() {
    auto* edit = new CoefficientEdit;
    edit->setObjectName("coefficientView");
    edit->setWhatsThis(QStringLiteral(
        "The coefficients of the design as text, in the project's coefficient-view format. "
        "The text may be edited, searched, copied and printed; the next design change "
        "writes it anew."));
    edit_ = edit;
    SetWidget(edit);
    renderTimer_ = new QTimer(edit);
    renderTimer_->setSingleShot(true);
    renderTimer_->setInterval(0);
    QObject::connect(renderTimer_, &QTimer::timeout, edit, [edit] {
        if (CIirDataView* view = ViewOf(edit); view != nullptr) view->RenderIfStale();
    });
}

CIirDataView::~CIirDataView() {
    // The find window belongs to the editor, which goes later: hide it now.
    if (finder_ != nullptr) finder_->hide();
}

bool CIirDataView::IsDesigned() const {
    return filter_ != nullptr && !filter_->IsEmpty();
}

void CIirDataView::OnUpdate(fw::View* /*sender*/, std::int32_t hint, fw::Object* hintObject) {
    const bool bound = filter_ != nullptr;
    if (ReadFilterUpdate(filter_, hint, hintObject) != FilterUpdate::kNone) {
        Invalidate();
    } else if (bound && edit_ != nullptr) {
        edit_->viewport()->update();
    }
}

std::optional<MenuBarKind> CIirDataView::FocusMenuBar() const {
    if (!IsDesigned()) return std::nullopt;
    return MenuBarKind::kCoefficients;
}

HelpTopic CIirDataView::Help() const {
    return HelpTopic::kCoefficients;
}

void CIirDataView::Invalidate() {
    stale_ = true;
    // A drag sends a hint per mouse move: render once when the events settle,
    // and not at all while nobody can see the text.
    if (edit_ == nullptr || renderTimer_ == nullptr || !edit_->isVisible()) return;
    if (!renderTimer_->isActive()) renderTimer_->start();
}

void CIirDataView::RenderIfStale() {
    if (stale_) Render();
}

void CIirDataView::InvalidateAll(const fw::Document& doc) {
    for (fw::View* view : doc.Views()) {
        if (auto* data = dynamic_cast<CIirDataView*>(view); data != nullptr) data->Invalidate();
    }
}

void CIirDataView::Render() {
    stale_ = false;
    if (edit_ == nullptr) return;
    ++renders_;
    QString text;
    CTarvoIirDoc* doc = GetIirDocument();
    if (doc != nullptr && IsDesigned()) {
        // A live edit rewrites the text at every move: no wait cursor flicker then.
        std::optional<fw::BusyGuard> busy;
        if (!doc->HasUnrecordedChange()) busy.emplace(doc->GetUi());
        const CoefficientTextResult result =
            CoefficientText(doc->GetFormat(), *filter_, doc->GetUi());
        text = QString::fromUtf8(result.text.data(), static_cast<qsizetype>(result.text.size()));
    }
    // The place the user looked at stays in view when the numbers change.
    const int across = edit_->horizontalScrollBar()->value();
    const int down = edit_->verticalScrollBar()->value();
    edit_->setPlainText(text);
    edit_->horizontalScrollBar()->setValue(across);
    edit_->verticalScrollBar()->setValue(down);
}

void CIirDataView::PrintPage(QPainter& painter, const QRect& page) {
    RenderIfStale();
    if (edit_ == nullptr || page.isEmpty()) return;
    QTextDocument text;
    text.documentLayout()->setPaintDevice(painter.device());
    text.setDefaultFont(edit_->font());
    QTextOption option = text.defaultTextOption();
    option.setWrapMode(QTextOption::NoWrap);
    text.setDefaultTextOption(option);
    text.setDocumentMargin(0);
    text.setPlainText(edit_->toPlainText());
    text.setPageSize(page.size());

    auto* paged = dynamic_cast<QPagedPaintDevice*>(painter.device());
    const int pages = paged != nullptr ? text.pageCount() : 1;
    const qreal height = page.height();
    for (int i = 0; i < pages; ++i) {
        if (i > 0) paged->newPage();
        painter.save();
        painter.translate(page.left(), page.top() - i * height);
        text.drawContents(&painter, QRectF(0, i * height, page.width(), height));
        painter.restore();
    }
}

bool CIirDataView::OnCommand(fw::CommandId id) {
    if (const std::optional<std::int32_t> kind = TypeCommandPaneKind(id)) {
        // The document may replace this very view: nothing of it is used after.
        if (CTarvoIirDoc* doc = GetIirDocument(); doc != nullptr) doc->SetPaneKind(*this, *kind);
        return true;
    }
    if (id == kIdDataViewFormat) {
        RunFormatDialog();
        return true;
    }
    if (id == kIdDataViewFont) {
        ChooseFont();
        return true;
    }
    if (edit_ == nullptr) return WidgetView::OnCommand(id);
    switch (id) {
    case fw::kIdEditCut:
        edit_->cut();
        return true;
    case fw::kIdEditCopy:
        edit_->copy();
        return true;
    case fw::kIdEditPaste:
        edit_->paste();
        return true;
    case fw::kIdEditClear:
        edit_->textCursor().removeSelectedText();
        return true;
    case fw::kIdEditSelectAll:
        edit_->selectAll();
        return true;
    case fw::kIdEditUndo:
        // The text's own undo; the project's stays with the other views.
        edit_->undo();
        return true;
    case fw::kIdEditFind:
        OpenFinder(false);
        return true;
    case fw::kIdEditReplace:
        OpenFinder(true);
        return true;
    case fw::kIdEditRepeat:
        if (lastSearch_) {
            FindNext(*lastSearch_);
        } else {
            OpenFinder(false);
        }
        return true;
    default:
        return WidgetView::OnCommand(id);
    }
}

bool CIirDataView::OnUpdateCommand(fw::CommandId id, fw::CmdUI& ui) {
    if (TypeCommandPaneKind(id)) {
        ui.Enable(TypeCommandEnabled(id, IsDesigned(), IsDesignPane()));
        return true;
    }
    if (id == kIdDataViewFormat || id == kIdDataViewFont) {
        ui.Enable(true);
        return true;
    }
    if (edit_ != nullptr) {
        const TextEditState state{
            .hasText = !edit_->document()->isEmpty(),
            .hasSelection = edit_->textCursor().hasSelection(),
            .canUndo = edit_->document()->isUndoAvailable(),
            .canPaste = edit_->canPaste(),
            .hasSearch = lastSearch_.has_value(),
        };
        if (const std::optional<bool> enabled = EditCommandEnabled(id, state)) {
            ui.Enable(*enabled);
            return true;
        }
    }
    return WidgetView::OnUpdateCommand(id, ui);
}

void CIirDataView::RunFormatDialog() {
    CTarvoIirDoc* doc = GetIirDocument();
    if (doc == nullptr || !FormatDialogHook()) return;
    CIirFileFormat chosen;
    chosen.CopyFrom(doc->GetFormat());
    if (!FormatDialogHook()(Widget(), chosen)) return;
    // A new format is the project's: saved with it, and shown by every one of
    // its coefficient views.
    if (doc->SetViewFormat(chosen)) InvalidateAll(*doc);
}

void CIirDataView::ChooseFont() {
    if (edit_ == nullptr) return;
    const std::optional<QFont> font = FontChooserHook()(Widget(), edit_->font());
    if (!font) return;
    edit_->setFont(*font);
    if (fw::Document* doc = GetDocument(); doc != nullptr) doc->UpdateAllViews(nullptr, 0, nullptr);
}

void CIirDataView::OpenFinder(bool replace) {
    if (edit_ == nullptr) return;
    RenderIfStale();
    if (finder_ == nullptr) {
        finder_ = new FindDialog(edit_);
        finder_->setObjectName("findDialog");
        QPlainTextEdit* edit = edit_;
        FindDialog* finder = finder_;
        QObject::connect(finder, &FindDialog::findNext, edit, [edit, finder] {
            if (CIirDataView* view = ViewOf(edit); view != nullptr)
                view->FindNext(finder->Request());
        });
        QObject::connect(finder, &FindDialog::replaceOne, edit, [edit, finder] {
            if (CIirDataView* view = ViewOf(edit); view != nullptr) {
                view->ReplaceOne(finder->Request());
            }
        });
        QObject::connect(finder, &FindDialog::replaceAll, edit, [edit, finder] {
            if (CIirDataView* view = ViewOf(edit); view != nullptr) {
                view->ReplaceAll(finder->Request());
            }
        });
    }
    // A selection on one line is what the user most likely wants to find.
    QString preset = edit_->textCursor().selectedText();
    if (preset.contains(QChar::ParagraphSeparator)) preset.clear();
    if (preset.isEmpty() && lastSearch_) preset = lastSearch_->what;
    finder_->Open(replace, preset);
}

bool CIirDataView::FindNext(const FindRequest& request) {
    if (edit_ == nullptr || request.what.isEmpty()) return false;
    lastSearch_ = request;
    QTextDocument* text = edit_->document();
    const QTextDocument::FindFlags flags = FlagsOf(request);
    QTextCursor found = text->find(request.what, edit_->textCursor(), flags);
    // Past the last match the search goes on from the top.
    if (found.isNull()) found = text->find(request.what, 0, flags);
    if (found.isNull()) {
        ReportNotFound(request.what);
        return false;
    }
    edit_->setTextCursor(found);
    return true;
}

void CIirDataView::ReplaceOne(const FindRequest& request) {
    if (edit_ == nullptr || request.what.isEmpty()) return;
    QTextCursor cursor = edit_->textCursor();
    const Qt::CaseSensitivity cs = request.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (cursor.hasSelection() && cursor.selectedText().compare(request.what, cs) == 0) {
        cursor.insertText(request.with);
        edit_->setTextCursor(cursor);
    }
    FindNext(request);
}

int CIirDataView::ReplaceAll(const FindRequest& request) {
    if (edit_ == nullptr || request.what.isEmpty()) return 0;
    lastSearch_ = request;
    QTextDocument* text = edit_->document();
    const QTextDocument::FindFlags flags = FlagsOf(request);
    QTextCursor step(text);
    step.beginEditBlock(); // one Undo Edit takes every replacement back
    int count = 0;
    QTextCursor at(text);
    for (;;) {
        QTextCursor found = text->find(request.what, at, flags);
        if (found.isNull()) break;
        found.insertText(request.with);
        at = found;
        ++count;
    }
    step.endEditBlock();
    if (count == 0) ReportNotFound(request.what);
    return count;
}

void CIirDataView::ReportNotFound(const QString& what) {
    if (fw::Document* doc = GetDocument(); doc != nullptr) {
        doc->GetUi().Message(CannotFindMessage(what.toStdString()), fw::Icon::Information);
    }
}

} // namespace tarvo
