#include "app/help_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QStandardPaths>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#ifndef TARVO_INSTALL_HELP_RELDIR
#define TARVO_INSTALL_HELP_RELDIR "../share/tarvoiir/help"
#endif

namespace tarvo {

namespace {

constexpr const char* kCollectionName = "tarvoiir.qhc";
constexpr const char* kDocRoot = "qthelp://org.morvane.tarvoiir/doc/";
constexpr const char* kHomePage = "index.html";
constexpr const char* kStampName = "source.stamp";
// Building the index of all pages and searching it take well under a second;
// the limits only keep a broken engine from hanging the caller.
constexpr int kIndexTimeoutMs = 30000;
constexpr int kSearchTimeoutMs = 15000;

// What identifies one state of the source collection: its files' names, sizes
// and times. A different text means the copy is stale.
QString SourceStamp(const QFileInfoList& files) {
    QString stamp;
    for (const QFileInfo& f : files) {
        stamp += QStringLiteral("%1 %2 %3\n")
                     .arg(f.absoluteFilePath())
                     .arg(f.size())
                     .arg(f.lastModified().toMSecsSinceEpoch());
    }
    return stamp;
}

QString ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// The search engine writes its index beside the collection, and an installed
// collection sits in a read-only folder: the engine works on a copy in the
// user's data folder, made again whenever the source changes. Returns the
// copy's collection, or the source itself when no copy can be made (the
// pages then still show; only search cannot store its index).
QString WritableCollection(const QString& sourcePath) {
    const QFileInfo source(sourcePath);
    QFileInfoList files{source};
    files += source.absoluteDir().entryInfoList({QStringLiteral("*.qch")}, QDir::Files, QDir::Name);
    const QString stamp = SourceStamp(files);

    const QString target =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/help");
    QString copy = QDir(target).filePath(source.fileName());
    if (QFileInfo::exists(copy) && ReadAll(QDir(target).filePath(kStampName)) == stamp) return copy;

    // Build the new folder beside the old one and swap them, so that another
    // instance starting at the same moment never sees a half-copied folder.
    // A fresh folder also drops a search index built for older pages.
    const QString pid = QString::number(QCoreApplication::applicationPid());
    const QString staging = target + QStringLiteral(".new-") + pid;
    const QString retired = target + QStringLiteral(".old-") + pid;
    QDir(staging).removeRecursively();
    if (!QDir().mkpath(staging)) return sourcePath;
    for (const QFileInfo& f : files) {
        const QString to = QDir(staging).filePath(f.fileName());
        if (!QFile::copy(f.absoluteFilePath(), to)) {
            QDir(staging).removeRecursively();
            return sourcePath;
        }
        QFile copied(to);
        copied.setPermissions(copied.permissions() | QFileDevice::WriteOwner);
    }
    QFile stampFile(QDir(staging).filePath(kStampName));
    if (stampFile.open(QIODevice::WriteOnly | QIODevice::Truncate)) stampFile.write(stamp.toUtf8());
    stampFile.close();

    if (QFileInfo::exists(target)) QDir().rename(target, retired);
    if (!QDir().rename(staging, target)) QDir(staging).removeRecursively();
    QDir(retired).removeRecursively();
    return QFileInfo::exists(copy) ? copy : sourcePath;
}

// Runs a local event loop until `done` holds or `timeoutMs` passed; the loop
// wakes on every emission of `signal`.
template <typename Sender, typename Signal, typename Done>
bool WaitFor(Sender* sender, Signal signal, Done done, int timeoutMs) {
    if (done()) return true;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(sender, signal, &loop, [&] {
        if (done()) loop.quit();
    });
    timer.start(timeoutMs);
    loop.exec();
    return done();
}

} // namespace

// Shows the pages of the collection: qthelp:// pages, their style sheets and
// pictures come from the engine; other links open in the desktop's browser.
class HelpBrowser : public QTextBrowser {
public:
    explicit HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
        setOpenLinks(false);
        connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::FollowLink);
    }

    void SetEngine(QHelpEngine* engine) { engine_ = engine; }

    QVariant loadResource(int type, const QUrl& name) override {
        if (engine_ != nullptr && name.scheme() == QLatin1String("qthelp"))
            return engine_->fileData(name);
        return QTextBrowser::loadResource(type, name);
    }

private:
    void FollowLink(const QUrl& url) {
        if (url.scheme() == QLatin1String("qthelp") || url.isRelative()) {
            setSource(source().resolved(url));
        } else {
            QDesktopServices::openUrl(url);
        }
    }

    QHelpEngine* engine_ = nullptr;
};

QString HelpWindow::CollectionSourcePath() {
    const QString name = QString::fromLatin1(kCollectionName);
    const QString fromEnvironment = qEnvironmentVariable("TARVO_HELP_DIR");
    // An explicit folder is used even when it holds no collection, so that a
    // wrong setting shows as such instead of silently picking another help.
    if (!fromEnvironment.isEmpty()) return QDir(fromEnvironment).filePath(name);

    QStringList folders{QDir(QCoreApplication::applicationDirPath())
                            .filePath(QString::fromLatin1(TARVO_INSTALL_HELP_RELDIR))};
#ifdef TARVO_BUILD_HELP_DIR
    folders << QString::fromLatin1(TARVO_BUILD_HELP_DIR);
#endif
    for (const QString& folder : folders) {
        QString path = QDir::cleanPath(QDir(folder).filePath(name));
        if (QFileInfo(path).isFile()) return path;
    }
    return {};
}

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(tr("TarvoIIR Help"));
    setObjectName(QStringLiteral("helpWindow"));
    resize(920, 660);

    const QString source = CollectionSourcePath();
    if (!source.isEmpty() && QFileInfo(source).isFile()) {
        auto* engine = new QHelpEngine(WritableCollection(source), this);
        if (engine->setupData() && !engine->registeredDocumentations().isEmpty()) {
            engine_ = engine;
        } else {
            delete engine;
        }
    }
    BuildUi();
    if (engine_ == nullptr) {
        ShowNotFound();
        return;
    }
    ConnectEngine();
    Open(QString::fromLatin1(kHomePage));
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::BuildUi() {
    browser_ = new HelpBrowser(this);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->SetEngine(engine_);

    auto* toolbar = addToolBar(tr("Navigation"));
    toolbar->setObjectName(QStringLiteral("helpToolbar"));
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* back = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), tr("Back"));
    QAction* forward =
        toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), tr("Forward"));
    QAction* home = toolbar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), tr("Home"));
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(home, &QAction::triggered, this, [this] { Open(QString::fromLatin1(kHomePage)); });
    home->setEnabled(engine_ != nullptr);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("helpTabs"));
    if (engine_ != nullptr) {
        QHelpContentWidget* contents = engine_->contentWidget();
        contents->setObjectName(QStringLiteral("helpContents"));
        contents->setHeaderHidden(true);
        tabs_->addTab(contents, tr("Contents"));

        auto* indexPage = new QWidget(tabs_);
        auto* indexLayout = new QVBoxLayout(indexPage);
        indexLayout->setContentsMargins(4, 4, 4, 4);
        indexFilter_ = new QLineEdit(indexPage);
        indexFilter_->setObjectName(QStringLiteral("helpIndexFilter"));
        indexFilter_->setPlaceholderText(tr("Type a keyword"));
        indexFilter_->setClearButtonEnabled(true);
        QHelpIndexWidget* index = engine_->indexWidget();
        index->setObjectName(QStringLiteral("helpIndex"));
        indexLayout->addWidget(indexFilter_);
        indexLayout->addWidget(index);
        tabs_->addTab(indexPage, tr("Index"));

        QHelpSearchEngine* search = engine_->searchEngine();
        auto* searchPage = new QWidget(tabs_);
        auto* searchLayout = new QVBoxLayout(searchPage);
        searchLayout->setContentsMargins(4, 4, 4, 4);
        search->queryWidget()->setObjectName(QStringLiteral("helpSearchQuery"));
        search->resultWidget()->setObjectName(QStringLiteral("helpSearchResults"));
        searchLayout->addWidget(search->queryWidget());
        searchLayout->addWidget(search->resultWidget(), 1);
        tabs_->addTab(searchPage, tr("Search"));
    }

    auto* splitter = new QSplitter(this);
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({300, 620});
    setCentralWidget(splitter);
    tabs_->setVisible(engine_ != nullptr);
}

void HelpWindow::ConnectEngine() {
    QHelpContentWidget* contents = engine_->contentWidget();
    connect(contents, &QHelpContentWidget::linkActivated, browser_,
            [this](const QUrl& url) { browser_->setSource(url); });
    // Keep the contents on the page shown, whichever way it was reached; the
    // contents are built in the background, after the first page may be shown.
    const auto syncContents = [this, contents] {
        const QModelIndex at = contents->indexOf(browser_->source());
        if (at.isValid()) contents->setCurrentIndex(at);
    };
    connect(engine_->contentModel(), &QHelpContentModel::contentsCreated, contents,
            [contents, syncContents] {
                contents->expandToDepth(0);
                syncContents();
            });
    connect(browser_, &QTextBrowser::sourceChanged, contents, syncContents);

    QHelpIndexWidget* index = engine_->indexWidget();
    const auto filterIndex = [this, index] {
        const QString text = indexFilter_->text();
        index->filterIndices(text, text.contains(QLatin1Char('*')) ? text : QString());
    };
    connect(indexFilter_, &QLineEdit::textChanged, index, filterIndex);
    // The keywords are read in the background; a filter typed before then
    // applies once they are there.
    connect(engine_->indexModel(), &QHelpIndexModel::indexCreated, index, filterIndex);
    connect(indexFilter_, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
    connect(index, &QHelpIndexWidget::documentActivated, browser_,
            [this](const QHelpLink& link, const QString&) { browser_->setSource(link.url); });
    // A keyword of several pages: the user picks one.
    connect(index, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& links, const QString&) {
                QMenu menu(this);
                for (const QHelpLink& link : links) {
                    QAction* item = menu.addAction(link.title);
                    connect(item, &QAction::triggered, browser_,
                            [this, url = link.url] { browser_->setSource(url); });
                }
                menu.exec(QCursor::pos());
            });

    QHelpSearchEngine* search = engine_->searchEngine();
    connect(search, &QHelpSearchEngine::indexingFinished, this, [this] { indexReady_ = true; });
    connect(search, &QHelpSearchEngine::searchingFinished, this, [this] {
        if (pendingSearches_ > 0) --pendingSearches_;
    });
    connect(search->queryWidget(), &QHelpSearchQueryWidget::search, this,
            [this, search] { RunSearch(search->queryWidget()->searchInput()); });
    connect(search->resultWidget(), &QHelpSearchResultWidget::requestShowLink, browser_,
            [this](const QUrl& url) { browser_->setSource(url); });
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab == 2) EnsureSearchIndex();
    });
}

void HelpWindow::Present() {
    show();
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
}

void HelpWindow::ShowNotFound() {
    // The folder the help was expected in: the one asked for, else the
    // installed program's.
    const QString looked = CollectionSourcePath();
    const QString folder = looked.isEmpty()
                               ? QDir(QCoreApplication::applicationDirPath())
                                     .filePath(QString::fromLatin1(TARVO_INSTALL_HELP_RELDIR))
                               : QFileInfo(looked).path();
    browser_->setHtml(tr("<p>The TarvoIIR help (tarvoiir.qhc) is missing or cannot be read in "
                         "%1.</p>")
                          .arg(QDir::toNativeSeparators(QDir::cleanPath(folder)).toHtmlEscaped()));
}

void HelpWindow::ShowContents() {
    if (engine_ != nullptr) {
        tabs_->setCurrentIndex(0);
        engine_->contentWidget()->setFocus();
    }
    Present();
}

void HelpWindow::ShowIndex() {
    if (engine_ != nullptr) {
        tabs_->setCurrentIndex(1);
        indexFilter_->clear();
        engine_->indexWidget()->filterIndices(QString());
        indexFilter_->setFocus();
    }
    Present();
}

void HelpWindow::ShowSearch() {
    if (engine_ != nullptr) {
        tabs_->setCurrentIndex(2);
        EnsureSearchIndex();
        QHelpSearchQueryWidget* query = engine_->searchEngine()->queryWidget();
        query->setSearchInput(QString());
        RunSearch(QString());
        query->setFocus();
    }
    Present();
}

void HelpWindow::ShowPage(const QString& fileName) {
    Open(fileName);
    Present();
}

void HelpWindow::Open(const QString& fileName) {
    if (engine_ == nullptr) return;
    const QUrl root(QString::fromLatin1(kDocRoot));
    const QUrl url = root.resolved(QUrl(fileName));
    // An unknown page (a view without a page of its own) shows the start page.
    const bool known = !engine_->fileData(url.adjusted(QUrl::RemoveFragment)).isEmpty();
    browser_->setSource(known ? url : root.resolved(QUrl(QString::fromLatin1(kHomePage))));
}

QUrl HelpWindow::CurrentUrl() const {
    return browser_->source();
}

void HelpWindow::EnsureSearchIndex() {
    if (engine_ == nullptr || indexRequested_) return;
    indexRequested_ = true;
    engine_->searchEngine()->scheduleIndexDocumentation();
}

bool HelpWindow::WaitForSearchIndex() {
    EnsureSearchIndex();
    return WaitFor(
        engine_->searchEngine(), &QHelpSearchEngine::indexingFinished,
        [this] { return indexReady_; }, kIndexTimeoutMs);
}

void HelpWindow::RunSearch(const QString& text) {
    EnsureSearchIndex();
    ++pendingSearches_;
    engine_->searchEngine()->search(text);
}

QStringList HelpWindow::Search(const QString& text) {
    if (engine_ == nullptr || !WaitForSearchIndex()) return {};
    QHelpSearchEngine* search = engine_->searchEngine();
    search->queryWidget()->setSearchInput(text);
    // The results are this search's once every search started so far (the
    // empty one of ShowSearch, say) has reported back.
    RunSearch(text);
    if (!WaitFor(
            search, &QHelpSearchEngine::searchingFinished, [this] { return pendingSearches_ == 0; },
            kSearchTimeoutMs)) {
        pendingSearches_ = 0;
        return {};
    }

    QStringList urls;
    for (const QHelpSearchResult& hit : search->searchResults(0, search->searchResultCount()))
        urls << hit.url().toString();
    return urls;
}

} // namespace tarvo
