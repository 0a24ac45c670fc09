#include "app/help_window.h"
#include "doc/help_topics.h"

#include <gtest/gtest.h>
#include <memory>
#include <QDir>
#include <QFileInfo>
#include <QHelpContentWidget>
#include <QHelpIndexWidget>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>

namespace tarvo {
namespace {

// One window for the whole suite: the engine and its search index are built
// once, as in the program.
class HelpWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { window_ = new HelpWindow; }
    static void TearDownTestSuite() {
        delete window_;
        window_ = nullptr;
    }
    HelpWindow& Window() { return *window_; }

    static HelpWindow* window_;
};
HelpWindow* HelpWindowTest::window_ = nullptr;

TEST_F(HelpWindowTest, FindsTheBuiltCollectionAndStartsOnTheFirstPage) {
    const QString source = HelpWindow::CollectionSourcePath();
    EXPECT_TRUE(QFileInfo(source).isFile()) << source.toStdString();
    ASSERT_TRUE(Window().IsReady());
    EXPECT_EQ(Window().CurrentUrl().fileName(), "index.html");
    const auto* browser = Window().findChild<QTextBrowser*>("helpBrowser");
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains("Design your first filter"));
}

TEST_F(HelpWindowTest, ContentsHaveOneTopEntryWithTheTopics) {
    auto* contents = Window().findChild<QHelpContentWidget*>("helpContents");
    ASSERT_NE(contents, nullptr);
    QAbstractItemModel* model = contents->model();
    ASSERT_TRUE(QTest::qWaitFor([model] { return model->rowCount() > 0; }, 10000));
    ASSERT_EQ(model->rowCount(), 1);
    const QModelIndex top = model->index(0, 0);
    EXPECT_EQ(top.data().toString(), "TarvoIIR Help");
    EXPECT_GE(model->rowCount(top), 10);

    Window().ShowContents();
    EXPECT_EQ(Window().findChild<QTabWidget*>("helpTabs")->currentIndex(), 0);
}

TEST_F(HelpWindowTest, ShowsTheViewPagesAndTheirAnchors) {
    for (HelpTopic topic : {HelpTopic::kPoleZero, HelpTopic::kDesignForm, HelpTopic::kTimePlot}) {
        const QString page = QString::fromLatin1(HelpPageFor(topic));
        Window().ShowPage(page);
        EXPECT_EQ(Window().CurrentUrl().toString(), "qthelp://org.morvane.tarvoiir/doc/" + page);
    }
    const auto* browser = Window().findChild<QTextBrowser*>("helpBrowser");
    Window().ShowPage("pole-zero.html");
    EXPECT_TRUE(browser->documentTitle().contains("pole-zero plot"));

    Window().ShowPage("band-edges.html#center-width");
    EXPECT_EQ(Window().CurrentUrl().fragment(), "center-width");
    // A page the collection does not have falls back to the start page.
    Window().ShowPage("no-such-page.html");
    EXPECT_EQ(Window().CurrentUrl().fileName(), "index.html");
}

TEST_F(HelpWindowTest, IndexFiltersKeywords) {
    Window().ShowIndex();
    auto* filter = Window().findChild<QLineEdit*>("helpIndexFilter");
    auto* index = Window().findChild<QHelpIndexWidget*>("helpIndex");
    ASSERT_NE(filter, nullptr);
    ASSERT_NE(index, nullptr);
    EXPECT_TRUE(filter->text().isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([index] { return index->model()->rowCount() > 50; }, 10000));
    filter->setText("Cheb");
    EXPECT_EQ(index->currentIndex().data().toString(), "Chebyshev");
    filter->clear();
}

TEST_F(HelpWindowTest, FullTextSearchFindsPagesAndNothingForNonsense) {
    const QString families = "qthelp://org.morvane.tarvoiir/doc/filter-families.html";
    const QStringList hits = Window().Search("Chebyshev");
    EXPECT_TRUE(hits.contains(families)) << hits.join(' ').toStdString();
    EXPECT_TRUE(Window().Search("qwzxvbnmk").isEmpty());

    // The empty search of the Search page is still running when the next
    // search starts; its (empty) result must not be taken for the next one's.
    Window().ShowSearch();
    EXPECT_EQ(Window().findChild<QTabWidget*>("helpTabs")->currentIndex(), 2);
    EXPECT_TRUE(Window().Search("Butterworth").contains(families));
}

TEST(HelpWindowMissing, ExplainsInsteadOfFailing) {
    const QByteArray saved = qgetenv("TARVO_HELP_DIR");
    qputenv("TARVO_HELP_DIR", QDir::temp().filePath("tarvo-no-help-here").toLocal8Bit());
    HelpWindow window;
    qputenv("TARVO_HELP_DIR", saved);

    EXPECT_FALSE(window.IsReady());
    window.ShowContents();
    window.ShowSearch();
    EXPECT_TRUE(window.Search("Chebyshev").isEmpty());
    const auto* browser = window.findChild<QTextBrowser*>("helpBrowser");
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains("tarvo-no-help-here"))
        << browser->toPlainText().toStdString();
}

} // namespace
} // namespace tarvo
