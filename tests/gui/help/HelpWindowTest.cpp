#include "../ModalHelper.h"
#include "../app/MainWindowFixture.h"

#include "app/CommandWiring.h"
#include "app/CompareWindow.h"
#include "entry/AutomationDialog.h"
#include "help/HelpCommands.h"
#include "help/HelpWindow.h"
#include "output/SimulationWindow.h"

#include <QApplication>
#include <QDialog>
#include <QDirIterator>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBrowser>

using namespace zx;
using namespace zx::test;

namespace {

class HelpLanguage : public ::testing::TestWithParam<int> {};

// Every page of every language: links reach existing pages and anchors, pictures exist.
TEST_P(HelpLanguage, OpensAndEveryLinkResolves)
{
    Catalogue c;
    c.fillBuiltin(GetParam(), 1);
    const QString folder = HelpFolder(QString(), c.helpFile);
    ASSERT_FALSE(folder.isEmpty()) << c.helpFile.toStdString();
    EXPECT_TRUE(folder.endsWith(QFileInfo(c.helpFile).completeBaseName()));

    HelpWindow window(folder, GetParam());
    ASSERT_EQ(window.pages().size(), 21);
    const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"]+)\""));
    for (const QString &page : window.pages()) {
        QFile file(QDir(folder).filePath(page));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            const QString path = target.section(QLatin1Char('#'), 0, 0);
            const QString anchor = target.section(QLatin1Char('#'), 1);
            const QString resolved = path.isEmpty() ? file.fileName() : QDir(folder).filePath(path);
            ASSERT_TRUE(QFileInfo::exists(resolved)) << page.toStdString() << " -> " << target.toStdString();
            if (!anchor.isEmpty()) {
                QFile to(resolved);
                ASSERT_TRUE(to.open(QIODevice::ReadOnly));
                EXPECT_TRUE(to.readAll().contains(QStringLiteral("name=\"%1\"").arg(anchor).toUtf8()))
                    << page.toStdString() << " -> " << target.toStdString();
            }
        }
        window.showPage(page);
        EXPECT_FALSE(window.browser()->toPlainText().isEmpty()) << page.toStdString();
    }
    // Pictures load relative to the page shown.
    window.showPage(QStringLiteral("filter.html"));
    EXPECT_FALSE(
        window.browser()
            ->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("../images/filter.png")))
            .isNull());
}

INSTANTIATE_TEST_SUITE_P(Languages, HelpLanguage, ::testing::Values(German, English, French));

// Every window's F1 target exists in every language, with the anchor it names; only the main
// window opens the contents.
TEST(HelpPages, EveryWindowsPageExistsInEveryLanguage)
{
    const QStringList windows = HelpWindowNames();
    EXPECT_GE(windows.size(), 19);
    for (const char *stem : {"Zentri2D", "Zentri2E", "Zentri2F"}) {
        const QString folder = HelpFolder(QString(), QLatin1String(stem) + QStringLiteral(".hlp"));
        ASSERT_FALSE(folder.isEmpty()) << stem;
        for (const QString &w : windows) {
            const QString page = HelpPageFor(w);
            EXPECT_TRUE(w == QLatin1String("MDIForm1") || page != QLatin1String("index.html"))
                << qPrintable(w);
            QFile f(QDir(folder).filePath(page.section(QLatin1Char('#'), 0, 0)));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << stem << " " << qPrintable(w);
            const QString anchor = page.section(QLatin1Char('#'), 1);
            if (!anchor.isEmpty()) {
                EXPECT_TRUE(f.readAll().contains(QStringLiteral("name=\"%1\"").arg(anchor).toUtf8()))
                    << stem << " " << qPrintable(w);
            }
        }
    }
    EXPECT_EQ(HelpPageFor(QStringLiteral("frmX")), QStringLiteral("index.html"));
    // A loaded language ("Zentri2e.hlp") has no help of its own: the English one.
    EXPECT_TRUE(HelpFolder(QString(), QStringLiteral("Zentri2e.hlp")).endsWith(QStringLiteral("Zentri2E")));
}

TEST_F(MainWindowTest, HelpMenuOpensContentsAndF1InADialogItsPage)
{
    wireCommands(*w, ctx);
    w->updateActions();
    ASSERT_TRUE(act("mnuHilfeInhalt")->isEnabled());
    act("mnuHilfeInhalt")->trigger();
    auto *help = ShownWindow<HelpWindow>("frmHilfe");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->browser()->source().fileName(), QStringLiteral("index.html"));

    // Search goes on to the page where the word is.
    EXPECT_TRUE(help->findNext(QStringLiteral("Print to PDF")));
    EXPECT_EQ(help->browser()->source().fileName(), QStringLiteral("printing.html"));

    bool usableInFront = false;
    whenModal(QStringLiteral("frmfilter"), [&usableInFront, help](QWidget *d) {
        QTest::keyClick(d->focusWidget() ? d->focusWidget() : d, Qt::Key_F1);
        // The modal dialog blocks every window but its own: the help is one of them while it is open.
        usableInFront = help->isVisible() && help->parentWidget() == d;
        qobject_cast<QDialog *>(d)->reject();
    });
    act("mnuFilter")->trigger();
    EXPECT_TRUE(usableInFront);
    EXPECT_EQ(help->browser()->source().fileName(), QStringLiteral("filter.html"));
    // and it stays open on its own once the dialog has gone
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->parentWidget(), nullptr);

    // A window that is no dialog opens its page too.
    SimulationWindow simulation(ctx);
    simulation.show();
    QTest::keyClick(simulation.focusWidget() ? simulation.focusWidget() : &simulation, Qt::Key_F1);
    EXPECT_EQ(help->browser()->source().fileName(), QStringLiteral("simulation.html"));
    help->close();
}

// F1 in the compare window, the about window and the edit assistant: each its own page, the
// assistant's scrolled to its part of the switching page.
TEST_F(MainWindowTest, F1OpensTheWindowsOwnPageAtItsAnchor)
{
    wireCommands(*w, ctx);
    EXPECT_EQ(HelpPageFor(QStringLiteral("frmInfo")), QStringLiteral("about.html"));
    CompareWindow compare(English, w.get());
    compare.show();
    QTest::keyClick(&compare, Qt::Key_F1);
    auto *help = ShownWindow<HelpWindow>("frmHilfe");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->browser()->source().fileName(), QStringLiteral("compare.html"));
    compare.close();

    AutomationDialog assistant(ctx, w.get());
    assistant.show();
    QTest::keyClick(&assistant, Qt::Key_F1);
    help = ShownWindow<HelpWindow>("frmHilfe");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->browser()->source().fileName(), QStringLiteral("switching.html"));
    EXPECT_EQ(help->browser()->source().fragment(), QStringLiteral("assistant"));
    EXPECT_TRUE(QTest::qWaitFor([help] { return help->browser()->verticalScrollBar()->value() > 0; }, 3000));
    help->close();
}

} // namespace
