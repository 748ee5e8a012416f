#pragma once

#include "GuiTest.h"
#include "app/AppContext.h"
#include "entry/EntryStore.h"
#include "entry/SwitchingTimeDialog.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "support/RecordingLauncher.h"
#include "support/SamplePrograms.h"
#include "support/ScriptedPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>

namespace zx::test {

using Bytes = std::array<int, 6>;

inline Bytes BytesOf(const ProgramRecord &r)
{
    return {r.b0, r.b1, r.b2, r.b3, r.b4, r.b5};
}

// One model, scripted prompter and fixed clock per test, and the entry dialog on top.
class EntryDialogTest : public ::testing::Test {
  protected:
    Model model;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2025, 3, 10), QTime(9, 0))};
    SleepingEventPump pump;
    RecordingLauncher launcher;
    AppContext ctx{model, prompter, clock, pump, launcher, QString(), QString()};
    std::unique_ptr<SwitchingTimeDialog> dlg;
    int listSignals = 0;

    void SetUp() override { model.device.Kanalzahl = 4; }
    void TearDown() override
    {
        if (dlg)
            dlg->hide();
        dlg.reset();
    }

    void open(int mode = EditEnter)
    {
        model.EditMode = mode;
        if (!dlg) {
            dlg = std::make_unique<SwitchingTimeDialog>(ctx);
            QObject::connect(dlg.get(), &SwitchingTimeDialog::listChanged, [this] { ++listSignals; });
        }
        dlg->openInMode();
    }

    template <class T> T *find(const char *name) { return Control<T>(dlg.get(), name); }
    void click(const char *name) { find<QAbstractButton>(name)->click(); }
    void choose(const char *list, int row) { find<QListWidget>(list)->setCurrentRow(row); }
    int row(const char *list) { return find<QListWidget>(list)->currentRow(); }
    QString text(const char *field) { return find<QLineEdit>(field)->text(); }
    bool checked(const char *name) { return find<QAbstractButton>(name)->isChecked(); }
    bool shown(const char *name) { return !find<QWidget>(name)->isHidden(); }

    // Types into a field and leaves it, as a user tabbing on would.
    void type(const char *field, const QString &keys)
    {
        QLineEdit *f = find<QLineEdit>(field);
        activate();
        f->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        f->selectAll();
        QTest::keyClicks(f, keys);
    }
    void leave(const char *field)
    {
        QLineEdit *f = find<QLineEdit>(field);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(f, &out);
        QApplication::processEvents();
    }
    void activate()
    {
        dlg->activateWindow();
        QApplication::setActiveWindow(dlg.get());
        QApplication::processEvents();
    }

    bool waitUntil(const std::function<bool()> &done, int ms = 3000) { return QTest::qWaitFor(done, ms); }

    // A switching time at the given minute of the day, Sunday, channel 4: never collides with
    // the entries the tests make.
    void fillProgram(int count)
    {
        for (int i = 0; i < count; ++i)
            ASSERT_TRUE(model.appendRecord(SetProgram, Rec(128 + (i >> 4), (i & 15) << 4, 64, 8, 1)));
        model.Modified = 0;
    }

    const ProgramRecord &record(int i) const { return model.program().Records[i]; }
    int used() const { return model.program().UsedCount; }
};

} // namespace zx::test
