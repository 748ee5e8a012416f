#include "app/CommandWiring.h"

#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "transfer/TransferCommands.h"

#include <QPointer>

namespace zx {

void wireCommands(MainWindow &window, AppContext &context)
{
    MainWindow *w = &window;
    AppContext *ctx = &context;
    auto save = [w] { return w->save(); };
    auto redraw = [w] { w->redrawList(); };

    window.setCommandHandler(QStringLiteral("mnuDatExp"), [=] { runWriteCommand(*ctx, save, w, redraw); });
    window.setCommandHandler(QStringLiteral("mnuDatImp"), [=] { runReadCommand(*ctx, save, w, redraw); });

    // One options dialog at a time; a second click brings the open one to the front.
    auto master = std::make_shared<QPointer<QWidget>>();
    window.setCommandHandler(QStringLiteral("mnuMaster"), [=] {
        if (*master) {
            (*master)->raise();
            (*master)->activateWindow();
            return;
        }
        *master = openMasterCardDialog(*ctx, redraw, w);
    });
}

} // namespace zx
