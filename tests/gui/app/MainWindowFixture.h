#pragma once

#include "GuiTest.h"
#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "support/RecordingLauncher.h"
#include "support/SamplePrograms.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace zx::test {

// A weekly conventional switching time at hour:minute on the weekdays of the mask.
inline ProgramRecord Weekly(int hour, int minute, int weekdays, int channels, int on)
{
    const int m = hour * 60 + minute;
    return Rec(128 + (m >> 4), (m % 16) << 4, weekdays, channels, on);
}

// The main window on one model, a scripted prompter and a fixed clock, in a scratch
// working directory.
class MainWindowTest : public ::testing::Test {
  protected:
    Model model;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 3, 5), QTime(14, 7))};
    SleepingEventPump pump;
    RecordingLauncher launcher;
    TempDir dir;
    AppContext ctx{model, prompter, clock, pump, launcher, dir.path(), dir.path()};
    std::unique_ptr<MainWindow> w;
    QString previousDir;

    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        previousDir = QDir::currentPath();
        QDir::setCurrent(dir.path());
        model.device.Kanalzahl = 4;
        model.program().FileName = dir.file(QStringLiteral("Swprg1.zxp"));
        model.program().UsageText = model.catalogue.text(Msg::Unknown);
        w = std::make_unique<MainWindow>(ctx);
        w->show();
    }
    void TearDown() override
    {
        if (w) {
            model.Modified = 0;
            w->close();
        }
        w.reset();
        QDir::setCurrent(previousDir);
    }

    template <class T> T *find(const char *name) { return Control<T>(w.get(), name); }
    QAction *act(const char *name)
    {
        QAction *a = w->action(QString::fromUtf8(name));
        if (!a)
            ADD_FAILURE() << "no command " << name;
        return a;
    }
    QTableWidget *grid() { return find<QTableWidget>("GrdDisplSz"); }
    QString cell(int row, int col)
    {
        return grid()->item(row, col) ? grid()->item(row, col)->text() : QString();
    }
    QString headerText(int col) { return grid()->horizontalHeaderItem(col)->text(); }
    void clickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QRect r = grid()->visualRect(grid()->model()->index(row, 1));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, modifiers, r.center());
    }
    void clickHeader(int section)
    {
        QHeaderView *h = grid()->horizontalHeader();
        QTest::mouseClick(
            h->viewport(), Qt::LeftButton, Qt::NoModifier,
            QPoint(h->sectionViewportPosition(section) + h->sectionSize(section) / 2, h->height() / 2));
    }
    void add(const ProgramRecord &r) { ASSERT_TRUE(model.appendRecord(SetProgram, r)); }
    QString saveQuestion(const QString &ending) const
    {
        return model.catalogue.text(Msg::SaveChangesIn) + model.program().FileName + ending;
    }
};

} // namespace zx::test
