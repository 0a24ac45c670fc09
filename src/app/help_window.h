#pragma once
// The help window: the help collection built from data/help, with its table of
// contents, keyword index and full-text search beside a page browser. It is a
// top-level, non-modal window; its owner creates it on first use.

#include <QMainWindow>
#include <QStringList>
#include <QUrl>

class QHelpEngine;
class QLineEdit;
class QTabWidget;

namespace tarvo {

class HelpBrowser;

class HelpWindow : public QMainWindow {
    Q_OBJECT

public:
    // The built collection (tarvoiir.qhc): in $TARVO_HELP_DIR when that is set,
    // else beside the installed program (<bin>/../share/tarvoiir/help), else in
    // the build tree. "" when none of the last two exists.
    static QString CollectionSourcePath();

    explicit HelpWindow(QWidget* parent = nullptr);
    ~HelpWindow() override;

    // The collection was found and opened.
    bool IsReady() const { return engine_ != nullptr; }

    // Each shows the window with the page, list or search asked for.
    void ShowContents();
    void ShowIndex();  // the keyword index, from its first keyword
    void ShowSearch(); // the search page, with an empty query run at once
    // A page of the collection by file name, optionally with "#anchor".
    void ShowPage(const QString& fileName);

    QUrl CurrentUrl() const;

    // Runs a full-text search and waits for it (building the search index
    // first when needed); the URLs of the pages found, best first. For tests.
    QStringList Search(const QString& text);

private:
    void BuildUi();
    void ConnectEngine();
    void Present();
    void Open(const QString& fileName);
    void ShowNotFound();
    // Starts building the full-text index the first time search is used.
    void EnsureSearchIndex();
    bool WaitForSearchIndex();
    void RunSearch(const QString& text);

    QHelpEngine* engine_ = nullptr;
    HelpBrowser* browser_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QLineEdit* indexFilter_ = nullptr;
    bool indexRequested_ = false;
    bool indexReady_ = false;
    int pendingSearches_ = 0; // searches started and not yet finished
};

} // namespace tarvo
