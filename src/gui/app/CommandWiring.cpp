#include "app/CommandWiring.h"

#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "entry/AutomationDialog.h"
#include "entry/PriorityTimeDialog.h"
#include "entry/SwitchingTimeDialog.h"
#include "model/Model.h"
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

    // The switching time entry: from the Edit menu in enter mode, from Change and Copy in the
    // mode the main window has set. One entry dialog at a time.
    auto entry = std::make_shared<QPointer<SwitchingTimeDialog>>();
    window.setCommandHandler(QStringLiteral("mnuEingSz"), [=] {
        if (*entry) {
            (*entry)->raise();
            (*entry)->activateWindow();
            return;
        }
        auto *dialog = new SwitchingTimeDialog(*ctx, w);
        *entry = dialog;
        QObject::connect(dialog, &SwitchingTimeDialog::listChanged, w, &MainWindow::redrawList);
        // listChanged() comes from inside done(): the dialog may only go once that has returned.
        QObject::connect(dialog, &QDialog::finished, dialog, &QObject::deleteLater);
        dialog->openInMode();
    });

    // The priority time entry, by the same rules.
    auto priority = std::make_shared<QPointer<PriorityTimeDialog>>();
    window.setCommandHandler(QStringLiteral("mnuEingPz"), [=] {
        if (*priority) {
            (*priority)->raise();
            (*priority)->activateWindow();
            return;
        }
        auto *dialog = new PriorityTimeDialog(*ctx, w);
        *priority = dialog;
        QObject::connect(dialog, &PriorityTimeDialog::listChanged, w, &MainWindow::redrawList);
        QObject::connect(dialog, &QDialog::finished, dialog, &QObject::deleteLater);
        dialog->openInMode();
    });

    auto assistant = std::make_shared<QPointer<AutomationDialog>>();
    window.setCommandHandler(QStringLiteral("mnuAssistent"), [=] {
        if (!*assistant) {
            auto *dialog = new AutomationDialog(*ctx, w);
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            *assistant = dialog;
        }
        (*assistant)->loadSettings();
        (*assistant)->show();
        (*assistant)->raise();
        (*assistant)->activateWindow();
    });

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
