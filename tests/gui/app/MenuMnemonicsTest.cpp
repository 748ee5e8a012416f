// Alt+letter in the menus: every command of every menu of the main window, and every menu of
// the menu bar, has a letter of its own, in each language and device layout.
#include "GuiTest.h"
#include "app/AppContext.h"
#include "app/CommandWiring.h"
#include "app/MainWindow.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "platform/FocusKeeper.h"
#include "platform/Mnemonics.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <tuple>

using namespace zx;
using namespace zx::test;

namespace {

void expectOwnLetters(const QString &where, const QList<QAction *> &actions)
{
    std::map<QChar, QString> seen;
    for (const QAction *a : actions) {
        if (a->isSeparator() || !a->isVisible() || a->text().isEmpty())
            continue;
        const QChar letter = MnemonicOf(a->text());
        EXPECT_FALSE(letter.isNull()) << where.toStdString() << ": \"" << a->text().toStdString() << "\"";
        if (letter.isNull())
            continue;
        const auto [at, fresh] = seen.emplace(letter, a->text());
        EXPECT_TRUE(fresh) << where.toStdString() << ": \"" << a->text().toStdString() << "\" and \""
                           << at->second.toStdString() << "\" share '" << QString(letter).toStdString()
                           << "'";
    }
}

class MenuMnemonics : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(MenuMnemonics, EveryCommandHasALetterOfItsOwn)
{
    const auto [language, type] = GetParam();
    QStandardPaths::setTestModeEnabled(true);
    FocusKeeper::install();
    Model model;
    ScriptedPrompter prompter;
    FixedClock clock(QDateTime(QDate(2026, 3, 5), QTime(14, 7)));
    SleepingEventPump pump;
    RecordingLauncher launcher;
    TempDir dir;
    AppContext ctx{model, prompter, clock, pump, launcher, dir.path(), dir.path()};
    model.device.Sprache = language;
    model.device.Uhrentyp = type;
    model.BrandNumber = 1;
    model.catalogue.fillBuiltin(language, 1);
    MainWindow w(ctx);
    wireCommands(w, ctx);
    w.show();
    QApplication::processEvents();
    expectOwnLetters(QStringLiteral("menu bar"), w.menuBar()->actions());
    for (QAction *title : w.menuBar()->actions()) {
        QMenu *menu = title->menu();
        if (!menu)
            continue;
        menu->popup(w.mapToGlobal(QPoint(10, 10)));
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000));
        expectOwnLetters(WithoutMnemonic(title->text()), menu->actions());
        menu->hide();
    }
    model.Modified = 0;
}

INSTANTIATE_TEST_SUITE_P(LanguagesAndDevices, MenuMnemonics,
                         ::testing::Combine(::testing::Values(German, English, French),
                                            ::testing::Values(TypeAnnual, TypeAstro)),
                         [](const auto &info) {
                             return std::to_string(std::get<0>(info.param)) + "_" +
                                    std::to_string(std::get<1>(info.param));
                         });

} // namespace
