#include "app/CompareCommands.h"

#include "app/AppContext.h"
#include "app/CompareBusDialog.h"
#include "app/CompareWindow.h"
#include "app/ComparisonTexts.h"
#include "app/MainWindow.h"
#include "app/MenuCaption.h"
#include "app/ProgramComparison.h"
#include "model/Model.h"
#include "platform/Prompter.h"
#include "transfer/TransferCommands.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>

#include <memory>

namespace zx {

namespace {

// The catalogue's words for a file that cannot be compared.
QString loadFailure(const Model &m, LoadResult result)
{
    switch (result) {
    case LoadResult::Missing:
        return m.catalogue(Msg::NoSuchFile);
    case LoadResult::GroupConflict:
        return m.catalogue(Msg::FormatConflictEIBConventionell);
    default:
        return m.catalogue(Msg::IllegalFile);
    }
}

} // namespace

void wireCompareCommands(MainWindow &window, AppContext &context)
{
    MainWindow *w = &window;
    AppContext *ctx = &context;
    const int sprache = context.model.device.Sprache;
    auto *compareFile = new QAction(compareText(CompareText::CompareFile, sprache), w);
    compareFile->setObjectName(QStringLiteral("mnuVergleichDatei"));
    auto *compareDevice = new QAction(compareText(CompareText::CompareDevice, sprache), w);
    compareDevice->setObjectName(QStringLiteral("mnuVergleichGeraet"));
    auto *verify = new QAction(compareText(CompareText::VerifyOption, sprache), w);
    verify->setObjectName(QStringLiteral("mnuSchreibenPruefen"));
    verify->setCheckable(true);

    if (auto *file = w->findChild<QMenu *>(QStringLiteral("mnuDatei"))) {
        // Before the separator that stands above Exit.
        const QList<QAction *> items = file->actions();
        QAction *before =
            items.value(std::max<int>(0, items.indexOf(w->action(QStringLiteral("mnuDatEnde"))) - 1));
        file->insertAction(before, compareFile);
        file->insertAction(before, compareDevice);
        file->insertAction(before, verify);
        file->insertSeparator(before);
        QObject::connect(file, &QMenu::aboutToShow, w,
                         [=] { verify->setChecked(verifyAfterWrite(ctx->model)); });
    }
    QObject::connect(verify, &QAction::triggered, w, [ctx](bool on) { setVerifyAfterWrite(ctx->model, on); });

    auto shown = std::make_shared<QPointer<CompareWindow>>();
    auto show = [=](const ProgramDifferences &d, const QString &nameB) {
        if (!*shown) {
            auto *frm = new CompareWindow(ctx->model.device.Sprache, w);
            frm->setAttribute(Qt::WA_DeleteOnClose);
            *shown = frm;
        }
        // The program by its file, as the other one is named by its file.
        const QString &file = ctx->model.program().FileName;
        const QString nameA = file.isEmpty() ? compareText(CompareText::Program, ctx->model.device.Sprache)
                                             : QDir::toNativeSeparators(file);
        (*shown)->showDifferences(d, nameA, QDir::toNativeSeparators(nameB));
        (*shown)->show();
        (*shown)->raise();
        (*shown)->activateWindow();
    };

    QObject::connect(compareFile, &QAction::triggered, w, [=] {
        Model &m = ctx->model;
        const QString start = QFileInfo(m.program().FileName).absolutePath();
        const auto path = ctx->prompter.chooseOpenFile(plainCaption(compareFile->text()),
                                                       QStringLiteral("*.zxp|*.zxp|*.*|*.*"), start);
        if (!path || path->isEmpty())
            return;
        Model other = m;
        const LoadResult result = LoadForComparison(other, ctx->prompter, *path);
        if (result != LoadResult::Loaded) {
            if (result != LoadResult::Unreadable) // the system's text has been shown
                ctx->prompter.tell(loadFailure(m, result), Icon::Critical);
            return;
        }
        CompareOptions options;
        options.list.clock = &ctx->clock;
        show(ComparePrograms(m, other, options), *path);
    });

    auto showDevice = [=](const Model &device) {
        CompareOptions options;
        options.texts = false; // the device holds no usage text or channel names
        options.list.clock = &ctx->clock;
        show(ComparePrograms(ctx->model, device, options),
             compareText(CompareText::Device, ctx->model.device.Sprache));
    };
    QObject::connect(compareDevice, &QAction::triggered, w, [=] {
        if (ctx->model.device.BusDevice == 1) {
            // The bus device is reached through the coupling unit or an IP interface.
            auto *frm = new CompareBusDialog(*ctx, showDevice, w);
            frm->setAttribute(Qt::WA_DeleteOnClose);
            frm->setWindowTitle(plainCaption(compareDevice->text()));
            frm->open();
            return;
        }
        Model device = ctx->model;
        if (runReadInto(*ctx, w, device)) // else the transfer has told why
            showDevice(device);
    });
}

} // namespace zx
