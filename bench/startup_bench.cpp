// What runs before the first window of the desktop program is shown, against a bare Qt window on
// the same display: preparing the working directory, reading the brand file, filling the
// catalogue, building and showing the start screen. Each case ends when its window is exposed.
// Runs on the display it finds (QT_QPA_PLATFORM=offscreen without one):
//   build/bench/startup_bench --benchmark_repetitions=16 --benchmark_report_aggregates_only=true
#include "app/AppContext.h"
#include "app/InstallPaths.h"
#include "app/StartScreen.h"
#include "i18n/Catalogue.h"
#include "model/BrandTable.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/ProcessToolLauncher.h"
#include "platform/QtEventPump.h"
#include "platform/QtPrompter.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QPixmap>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <benchmark/benchmark.h>

using namespace zx;

namespace {

QString workDir()
{
    static QTemporaryDir dir;
    static bool prepared = [] {
        QString error;
        return prepareWorkDir(QStringLiteral(ZX_SOURCE_DATA), dir.path(), &error);
    }();
    return prepared ? dir.path() : QString();
}

void waitExposed(QWidget &w)
{
    while (!w.windowHandle() || !w.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

void BM_BareWindow(benchmark::State &state)
{
    for (auto _ : state) {
        QWidget w;
        w.resize(640, 480);
        w.show();
        waitExposed(w);
    }
}
BENCHMARK(BM_BareWindow)->Unit(benchmark::kMillisecond);

// The working directory is prepared from the installed defaults at every start; all files are
// there already, as on every start after the first.
void BM_PrepareWorkDir(benchmark::State &state)
{
    const QString dir = workDir();
    for (auto _ : state) {
        QString error;
        benchmark::DoNotOptimize(prepareWorkDir(QStringLiteral(ZX_SOURCE_DATA), dir, &error));
    }
}
BENCHMARK(BM_PrepareWorkDir)->Unit(benchmark::kMillisecond);

void BM_BrandAndCatalogue(benchmark::State &state)
{
    const QString dir = workDir();
    for (auto _ : state) {
        Model model;
        model.BrandNumber = ReadBrandFile(QDir(dir).filePath(BrandFileName()));
        model.catalogue.fillBuiltin(model.device.Sprache, model.BrandNumber);
        QApplication::setWindowIcon(QIcon(QPixmap(BrandTable(model.BrandNumber).infoPicture)));
        benchmark::DoNotOptimize(model.catalogue.productTitle);
    }
}
BENCHMARK(BM_BrandAndCatalogue)->Unit(benchmark::kMillisecond);

// The brand's device picture as the start screen shows it.
void BM_StartPicture(benchmark::State &state)
{
    const Brand &brand = BrandTable(1);
    for (auto _ : state) {
        const QPixmap pixmap(brand.startPicture);
        benchmark::DoNotOptimize(
            pixmap.scaledToHeight(qMin(pixmap.height(), brand.startHeight - 150), Qt::SmoothTransformation));
    }
}
BENCHMARK(BM_StartPicture)->Unit(benchmark::kMillisecond);

// The start screen built and filled, not yet shown: its widgets, style sheet and pictures.
void BM_StartScreenBuilt(benchmark::State &state)
{
    const QString dir = workDir();
    Model model;
    model.BrandNumber = 1;
    model.catalogue.fillBuiltin(model.device.Sprache, model.BrandNumber);
    QtPrompter prompter([&model] { return model.catalogue.productTitle; });
    SystemClock clock;
    QtEventPump pump;
    ProcessToolLauncher launcher;
    AppContext context{model, prompter, clock, pump, launcher, dir, dir};
    for (auto _ : state) {
        StartScreen start(context);
        start.prepare();
        benchmark::DoNotOptimize(start.sizeHint());
    }
}
BENCHMARK(BM_StartScreenBuilt)->Unit(benchmark::kMillisecond);

// Everything the program does before its first window, up to the start screen on the display.
void BM_StartScreenShown(benchmark::State &state)
{
    const QString dir = workDir();
    for (auto _ : state) {
        QString error;
        prepareWorkDir(QStringLiteral(ZX_SOURCE_DATA), dir, &error);
        Model model;
        QtPrompter prompter([&model] { return model.catalogue.productTitle; });
        model.BrandNumber = ReadBrandFile(QDir(dir).filePath(BrandFileName()));
        model.catalogue.fillBuiltin(model.device.Sprache, model.BrandNumber);
        QApplication::setWindowIcon(QIcon(QPixmap(BrandTable(model.BrandNumber).infoPicture)));
        SystemClock clock;
        QtEventPump pump;
        ProcessToolLauncher launcher;
        AppContext context{model, prompter, clock, pump, launcher, dir, dir};
        StartScreen start(context);
        start.prepare();
        start.show();
        waitExposed(start);
    }
}
BENCHMARK(BM_StartScreenShown)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
