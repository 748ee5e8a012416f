#include "app/CommandWiring.h"

#include "app/AppContext.h"
#include "app/CompareCommands.h"
#include "app/ComparisonTexts.h"
#include "app/MainWindow.h"
#include "app/UndoSupport.h"
#include "bus/BusAccessDialog.h"
#include "calendar/AstroCommands.h"
#include "calendar/ChangeoverDialog.h"
#include "calendar/HolidayDialog.h"
#include "entry/AutomationDialog.h"
#include "entry/FilterDialog.h"
#include "entry/PriorityTimeDialog.h"
#include "entry/SwitchingTimeDialog.h"
#include "help/HelpCommands.h"
#include "model/Model.h"
#include "output/PrintCommands.h"
#include "output/SimulationWindow.h"
#include "platform/Prompter.h"
#include "transfer/TransferCommands.h"

#include <QPointer>
#include <QStatusBar>

namespace zx {

void wireCommands(MainWindow &window, AppContext &context)
{
    MainWindow *w = &window;
    AppContext *ctx = &context;
    auto save = [w] { return w->save(); };
    auto redraw = [w] { w->redrawList(); };

    // A finished transfer is told as plainly as a failed one; the status bar keeps saying so. A
    // verified write has told "written and verified" already: one message, not two in a row.
    auto done = [w, ctx](bool writing, bool told) {
        const QString text = transferDoneText(ctx->model.catalogue, writing);
        w->statusBar()->showMessage(text);
        if (!told)
            ctx->prompter.tell(text, Icon::Information);
    };
    window.setCommandHandler(QStringLiteral("mnuDatExp"), [=] {
        w->statusBar()->clearMessage();
        bool verified = false;
        if (runWriteCommand(*ctx, save, w, redraw, &verified))
            done(true, verified);
    });
    auto *undo = new UndoSupport(window, context);
    window.setCommandHandler(QStringLiteral("mnuDatImp"), [=] {
        w->statusBar()->clearMessage();
        UndoSupport::Step step(undo, compareText(CompareText::StepRead, ctx->model.device.Sprache));
        if (runReadCommand(*ctx, save, w, redraw))
            done(false, false);
    });

    // The bus access dialog, window-modal: the program must not change under a transfer.
    window.setCommandHandler(QStringLiteral("mnuBuszugriff"), [=] {
        auto *dialog = new BusAccessDialog(*ctx, save, w);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(dialog, &BusAccessDialog::listChanged, undo, [undo, ctx] {
            undo->commit(compareText(CompareText::StepRead, ctx->model.device.Sprache));
        });
        QObject::connect(dialog, &BusAccessDialog::listChanged, w, &MainWindow::redrawList);
        dialog->open();
    });

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

    auto *print = new PrintCommands(context, window);
    print->setObjectName(QStringLiteral("printCommands"));
    window.setCommandHandler(QStringLiteral("mnuDatDruck"), [print] { print->printFromDialog(); });
    window.setCommandHandler(QStringLiteral("tbDruck"), [print] { print->printCurrentView(); });

    auto *help = new HelpCommands(context, &window);
    help->setObjectName(QStringLiteral("helpCommands"));
    window.setCommandHandler(QStringLiteral("mnuHilfeInhalt"), [help] { help->show(); });

    window.setCommandHandler(QStringLiteral("mnuFilter"), [=] {
        FilterDialog dialog(*ctx, w);
        QObject::connect(&dialog, &FilterDialog::filterChanged, w, &MainWindow::redrawList);
        dialog.exec();
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

    // The changeover table entry: enter from the Edit menu, change and copy the marked entries.
    auto changeover = std::make_shared<QPointer<ChangeoverDialog>>();
    window.setCommandHandler(QStringLiteral("mnuEingSw"), [=] {
        if (*changeover) {
            (*changeover)->raise();
            (*changeover)->activateWindow();
            return;
        }
        auto *dialog = new ChangeoverDialog(*ctx, w);
        *changeover = dialog;
        QObject::connect(dialog, &ChangeoverDialog::listChanged, w, &MainWindow::redrawList);
        QObject::connect(dialog, &ChangeoverDialog::automationRequested, w,
                         [w] { w->action(QStringLiteral("mnuAssistent"))->trigger(); });
        QObject::connect(dialog, &QDialog::finished, dialog, &QObject::deleteLater);
        QObject::connect(dialog, &QDialog::finished, w, &MainWindow::redrawList);
        dialog->openInMode();
    });

    // The holiday settings: modal; the list names Easter codes after the library when it closes.
    window.setCommandHandler(QStringLiteral("mnuFeiertage"), [=] {
        HolidayDialog dialog(*ctx, w);
        dialog.exec();
        w->redrawList();
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

    wireAstroCommands(window, context);
    wireCompareCommands(window, context);
    // One simulation window; it follows every change of the program while it is open.
    auto simulation = std::make_shared<QPointer<SimulationWindow>>();
    window.setCommandHandler(QStringLiteral("mnuAnsGrafik"), [=] {
        if (!*simulation) {
            auto *frm = new SimulationWindow(*ctx, w);
            QObject::connect(w, &MainWindow::listRedrawn, frm, &SimulationWindow::refresh);
            *simulation = frm;
        }
        (*simulation)->show();
        (*simulation)->raise();
        (*simulation)->activateWindow();
    });
}

} // namespace zx
