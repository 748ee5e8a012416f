// Renders the main window with a realistic program and writes it as a PNG:
//   QT_QPA_PLATFORM=offscreen zentrix-screenshot OUT.png [MODE] [WIDTH]
// MODE: switching, priority, properties, entry, priority-entry, options, filter, print, help, simulation,
// bus or holidays.
// WIDTH scales the picture down to that many pixels (the help keeps its pictures small).
#include "app/AppContext.h"
#include "app/DevicePropertiesDialog.h"
#include "app/MainWindow.h"
#include "bus/BusAccessDialog.h"
#include "calendar/HolidayDialog.h"
#include "entry/FilterDialog.h"
#include "entry/PriorityTimeDialog.h"
#include "entry/SwitchingTimeDialog.h"
#include "help/HelpWindow.h"
#include "model/ListOrder.h"
#include "model/Model.h"
#include "output/PrintDialog.h"
#include "output/SimulationWindow.h"
#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "platform/ProcessToolLauncher.h"
#include "platform/QtPrompter.h"
#include "transfer/TransferCommands.h"

#include <QApplication>
#include <QPixmap>
#include <QTableWidget>

#include <cstdio>
#include <cstdlib>

namespace {

using namespace zx;

ProgramRecord weekly(int hour, int minute, int days, int channels, int on, int pulse = 0, int program = 0)
{
    const int m = hour * 60 + minute;
    ProgramRecord r;
    r.b0 = static_cast<std::uint8_t>(128 + (m >> 4));
    r.b1 = static_cast<std::uint8_t>(((m % 16) << 4) | program);
    r.b3 = static_cast<std::uint8_t>(days);
    r.b4 = static_cast<std::uint8_t>(channels);
    r.b5 = static_cast<std::uint8_t>((pulse << 2) | on);
    return r;
}

ProgramRecord dated(int day, int month, int hour, int minute, int channels, int on, bool once)
{
    const int m = hour * 60 + minute;
    ProgramRecord r;
    r.b0 = static_cast<std::uint8_t>(m >> 4);
    r.b1 = static_cast<std::uint8_t>(((m % 16) << 4) | month);
    r.b3 = static_cast<std::uint8_t>(day | (once ? 64 : 0));
    r.b4 = static_cast<std::uint8_t>(channels);
    r.b5 = static_cast<std::uint8_t>(on);
    return r;
}

ProgramRecord priority(int fromDay, int fromMonth, int toDay, int toMonth, int code, int channels, int on)
{
    ProgramRecord r;
    r.b0 = static_cast<std::uint8_t>(96 + fromMonth * 2 + (fromDay >> 4));
    r.b1 = static_cast<std::uint8_t>(((fromDay % 16) << 4) | code);
    r.b3 = static_cast<std::uint8_t>(toDay);
    r.b4 = static_cast<std::uint8_t>(channels);
    r.b5 = static_cast<std::uint8_t>((toMonth << 4) | on);
    return r;
}

void fillSample(Model &m)
{
    m.device.Kanalzahl = 4;
    m.device.Evu = 1;
    m.device.Bewft = 1;
    m.device.DeviceCode = 73;
    m.device.SwRegel = 1;
    ProgramSet &p = m.program();
    p.FileName = QStringLiteral("/home/facility/zentrix/townhall.zxp");
    p.UsageText = QStringLiteral("Town hall: lighting, heating and school bell");
    p.ChannelNames = {QStringLiteral("Hall lights"), QStringLiteral("Stairs"), QStringLiteral("Heating"),
                      QStringLiteral("School bell")};
    p.ProgramNumber = 4711;
    const int workdays = 1 + 2 + 4 + 8 + 16;
    const int weekend = 32 + 64;
    const ProgramRecord records[] = {
        weekly(6, 30, workdays, 1, 1),
        weekly(22, 0, workdays, 1 + 2, 0),
        weekly(7, 15, workdays, 2, 1),
        weekly(5, 45, workdays, 4, 1),
        weekly(17, 30, workdays, 4, 0),
        weekly(8, 0, weekend, 1 + 2, 1),
        weekly(20, 0, weekend, 1 + 2, 0),
        weekly(7, 55, workdays, 8, 1, 5),
        weekly(9, 35, workdays, 8, 1, 5),
        weekly(12, 10, workdays, 8, 1, 5),
        weekly(7, 0, 127, 4, 1, 0, 1),
        weekly(12, 0, 127, 4, 0, 0, 1),
        dated(24, 12, 12, 0, 1 + 2 + 4, 0, false),
        dated(31, 12, 23, 30, 1, 1, true),
        priority(24, 12, 6, 1, 1, 4 + 8, 0),
        priority(1, 5, 1, 5, 10, 1 + 2, 1),
    };
    for (const ProgramRecord &r : records)
        m.appendRecord(SetProgram, r);
    // Saved on 5 March 2026 at 14:07.
    const int t = 14 * 60 + 7;
    p.HeaderBytes[4] = t >> 4;
    p.HeaderBytes[5] = ((t % 16) << 4) | 3;
    p.HeaderBytes[6] = 5;
    p.HeaderBytes[7] = 2026 - 1872;
    m.SortColumnSz = 2;
    m.Modified = 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("main-window.png");
    const QString what = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("switching");

    zx::Model model;
    fillSample(model);
    zx::SortRecords(model, zx::DisplayOrder, zx::SetProgram);
    zx::QtPrompter prompter([&model] { return model.catalogue.productTitle; });
    zx::FixedClock clock(QDateTime(QDate(2026, 3, 5), QTime(14, 7)));
    zx::SleepingEventPump pump;
    zx::ProcessToolLauncher launcher;
    zx::AppContext ctx{model, prompter, clock, pump, launcher, QString(), QString()};

    zx::MainWindow window(ctx);
    window.resize(1040, 640);
    window.show();
    window.showList(what == QLatin1String("priority") ? zx::ListPriority : zx::ListSwitching, zx::SetProgram);
    window.grid()->selectRow(3);
    app.processEvents();
    QPixmap shot = window.grab();
    if (what == QLatin1String("properties")) {
        zx::DevicePropertiesDialog dialog(ctx, &window);
        dialog.show();
        app.processEvents();
        shot = dialog.grab();
    }
    if (what == QLatin1String("entry")) {
        zx::SwitchingTimeDialog dialog(ctx, &window);
        dialog.openInMode();
        app.processEvents();
        shot = dialog.grab();
    }
    if (what == QLatin1String("priority-entry")) {
        zx::PriorityTimeDialog dialog(ctx, &window);
        dialog.openInMode();
        app.processEvents();
        shot = dialog.grab();
    }
    if (what == QLatin1String("options")) {
        QWidget *dialog = zx::openMasterCardDialog(
            ctx, [] {}, &window);
        app.processEvents();
        shot = dialog->grab();
    }
    if (what == QLatin1String("filter")) {
        model.filter.FilterChannels = 1 + 2;
        model.filter.FilterWeekdays = 31;
        zx::FilterDialog dialog(ctx, &window);
        dialog.show();
        app.processEvents();
        shot = dialog.grab();
    }
    if (what == QLatin1String("print")) {
        model.transfer.PrintHeaderInterval = 40;
        zx::PrintSettings settings;
        settings.switching = settings.priority = true;
        zx::PrintDialog dialog(ctx, settings, &window);
        dialog.show();
        app.processEvents();
        shot = dialog.grab();
    }
    if (what == QLatin1String("help")) {
        zx::HelpWindow help(zx::HelpFolder(QString(), model.catalogue.helpFile), model.device.Sprache);
        help.setAttribute(Qt::WA_DeleteOnClose, false);
        help.showPage(QStringLiteral("filter.html"));
        help.show();
        app.processEvents();
        shot = help.grab();
    }
    if (what == QLatin1String("simulation")) {
        auto *frm = new zx::SimulationWindow(ctx, &window);
        frm->resize(1040, 720);
        frm->show();
        frm->selectCell(4, 30);
        app.processEvents();
        shot = frm->grab();
    }
    if (what == QLatin1String("bus")) {
        zx::BusAccessDialog dialog(
            ctx, [] { return true; }, &window);
        dialog.show();
        app.processEvents();
        shot = dialog.grab();
    }
    if (what == QLatin1String("holidays")) {
        model.device.Bewft = 1;
        zx::HolidayLibrary &lib = model.holidays;
        lib.holidays = {{QStringLiteral("New Year"), zx::HolidayFixed, 0, 1, 1},
                        {QStringLiteral("Good Friday"), zx::HolidayEaster, 0, -2, 0},
                        {QStringLiteral("Easter Monday"), zx::HolidayEaster, 0, 1, 0},
                        {QStringLiteral("Day of Repentance"), zx::HolidayFree, -3, 23, 11},
                        {QStringLiteral("Christmas Day"), zx::HolidayFixed, 0, 25, 12}};
        lib.sets = {{QStringLiteral("School"), {1, 2, 3, 5}}};
        zx::HolidayDialog dialog(ctx, &window);
        dialog.show();
        app.processEvents();
        shot = dialog.grab();
    }
    if (argc > 3 && std::atoi(argv[3]) > 0 && shot.width() > std::atoi(argv[3]))
        shot = shot.scaledToWidth(std::atoi(argv[3]), Qt::SmoothTransformation);
    if (!shot.save(out)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    std::printf("%s\n", qPrintable(out));
    model.Modified = 0;
    return 0;
}
