#include "GuiTest.h"
#include "app/AppContext.h"
#include "app/DevicePropertiesDialog.h"
#include "app/MainWindow.h"
#include "app/StartScreen.h"
#include "calendar/ChangeoverDialog.h"
#include "calendar/HolidayDialog.h"
#include "entry/FilterDialog.h"
#include "entry/PriorityTimeDialog.h"
#include "entry/SwitchingTimeDialog.h"
#include "model/BrandTable.h"
#include "model/Model.h"
#include "output/SimulationWindow.h"
#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "platform/ScreenFit.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace zx;
using namespace zx::test;

namespace {

// CTest runs this on a 1280x800 screen at scale 2 and a 1024x768 screen at scale 1.5 (the
// laptops with 200 % and 150 % display scaling) and on a 1280x1024 screen; in the plain run it
// has the offscreen 800x600. Every window of the program and every control in it must lie on the
// screen, where a control in a scroll area counts once it is scrolled into view.
class ScreenScaling : public ::testing::TestWithParam<const char *> {
  protected:
    Model model;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 3, 5), QTime(14, 7))};
    SleepingEventPump pump;
    RecordingLauncher launcher;
    TempDir dir;
    AppContext ctx{model, prompter, clock, pump, launcher, dir.path(), dir.path()};

    void SetUp() override
    {
        ScreenFit::install();
        // The widest layouts: eight channels of a bus-less annual device with every option.
        model.device.Kanalzahl = 8;
        model.device.Evu = 1;
        model.device.Bewft = 1;
        model.BrandNumber = 1;
    }

    std::unique_ptr<QWidget> open(const QString &name, MainWindow &main)
    {
        std::unique_ptr<QWidget> w;
        if (name == QLatin1String("frmStart"))
            w = std::make_unique<StartScreen>(ctx);
        else if (name == QLatin1String("frmEingSz"))
            w = std::make_unique<SwitchingTimeDialog>(ctx, &main);
        else if (name == QLatin1String("frmEingPZ"))
            w = std::make_unique<PriorityTimeDialog>(ctx, &main);
        else if (name == QLatin1String("FrmGrafik"))
            w = std::make_unique<SimulationWindow>(ctx, &main);
        else if (name == QLatin1String("frmfeiertage"))
            w = std::make_unique<HolidayDialog>(ctx, &main);
        else if (name == QLatin1String("frmfilter"))
            w = std::make_unique<FilterDialog>(ctx, &main);
        else if (name == QString::fromUtf8("frmGer\u00e4tEinst"))
            w = std::make_unique<DevicePropertiesDialog>(ctx, &main);
        else if (name == QLatin1String("frmEinSW"))
            w = std::make_unique<ChangeoverDialog>(ctx, &main);
        if (auto *entry = qobject_cast<SwitchingTimeDialog *>(w.get()))
            entry->openInMode();
        else if (auto *priority = qobject_cast<PriorityTimeDialog *>(w.get()))
            priority->openInMode();
        else if (auto *changeover = qobject_cast<ChangeoverDialog *>(w.get()))
            changeover->openInMode();
        else if (w)
            w->show();
        return w;
    }
};

// Parts of Qt's own machinery (a scroll area's viewport and bars, an item view's insides) and
// the scrolled content itself are no controls of the form.
bool isControl(const QWidget *w)
{
    if (w->objectName().startsWith(QLatin1String("qt_")) || w->objectName() == QLatin1String("zxFitContent"))
        return false;
    for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<const QAbstractItemView *>(p) || qobject_cast<const QAbstractSpinBox *>(p) ||
            qobject_cast<const QComboBox *>(p) ||
            p->objectName() == QLatin1String("qt_scrollarea_hcontainer") ||
            p->objectName() == QLatin1String("qt_scrollarea_vcontainer"))
            return false;
    return !qobject_cast<const QMenuBar *>(w) && !qobject_cast<const QToolBar *>(w) &&
           !qobject_cast<const QStatusBar *>(w) && !qobject_cast<const QScrollArea *>(w) &&
           w->metaObject() != &QWidget::staticMetaObject && w->metaObject() != &QFrame::staticMetaObject;
}

// The window lies on the screen; every control it shows lies whole on the screen and inside the
// window, and one in a scroll area, once scrolled into view, whole inside the area's viewport.
void expectOnScreen(QWidget *window)
{
    QApplication::processEvents();
    const QRect screen = ScreenFit::availableArea(window);
    const std::string name = window->objectName().toStdString();
    EXPECT_TRUE(screen.contains(window->frameGeometry()))
        << name << " " << window->width() << "x" << window->height() << " on " << screen.width() << "x"
        << screen.height();
    const QRect inside(window->mapToGlobal(QPoint(0, 0)), window->size());
    for (QWidget *c : window->findChildren<QWidget *>()) {
        if (!c->isVisibleTo(window) || c->window() != window || !isControl(c))
            continue;
        QScrollArea *scroll = nullptr;
        for (QWidget *p = c->parentWidget(); p && p != window && !scroll; p = p->parentWidget())
            scroll = qobject_cast<QScrollArea *>(p);
        if (scroll)
            scroll->ensureWidgetVisible(c, 0, 0);
        const QRect r(c->mapToGlobal(QPoint(0, 0)), c->size());
        const QRect shown =
            scroll ? QRect(scroll->viewport()->mapToGlobal(QPoint(0, 0)), scroll->viewport()->size())
                   : inside;
        const auto *button = qobject_cast<QAbstractButton *>(c);
        // A field or button squeezed below its height cuts its text, though it lies on the screen.
        if (button || qobject_cast<const QLineEdit *>(c) || qobject_cast<const QComboBox *>(c) ||
            qobject_cast<const QAbstractSpinBox *>(c))
            EXPECT_GE(c->height(), c->minimumSizeHint().height())
                << name << ": " << c->objectName().toStdString() << " squeezed to " << c->height();
        EXPECT_TRUE(screen.contains(r) && inside.contains(r) && shown.contains(r))
            << name << ": " << c->metaObject()->className() << " " << c->objectName().toStdString() << " \""
            << (button ? button->text().toStdString() : std::string()) << "\" at " << r.x() << "," << r.y()
            << " " << r.width() << "x" << r.height() << ", shown " << shown.x() << "," << shown.y() << " "
            << shown.width() << "x" << shown.height();
    }
}

TEST_P(ScreenScaling, WindowAndItsControlsLieOnTheScreen)
{
    MainWindow main(ctx);
    main.show();
    expectOnScreen(&main);
    const QString name = QString::fromUtf8(GetParam());
    if (name == QLatin1String("MDIForm1"))
        return;
    std::unique_ptr<QWidget> w = open(name, main);
    ASSERT_TRUE(w) << GetParam();
    expectOnScreen(w.get());
    w->hide();
}

INSTANTIATE_TEST_SUITE_P(Windows, ScreenScaling,
                         ::testing::Values("MDIForm1", "frmStart", "frmEingSz", "frmEingPZ", "FrmGrafik",
                                           "frmfeiertage", "frmfilter", "frmGer\u00e4tEinst", "frmEinSW"),
                         [](const ::testing::TestParamInfo<const char *> &info) {
                             return std::to_string(info.index);
                         });

} // namespace
