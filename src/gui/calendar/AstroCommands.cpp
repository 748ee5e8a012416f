#include "calendar/AstroCommands.h"

#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "calendar/AstroSettingsDialog.h"
#include "entry/AstroTimeChangeDialog.h"
#include "i18n/ExtraTexts.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"

#include <QItemSelectionModel>
#include <QPointer>
#include <QTableWidget>

#include <memory>
#include <set>

namespace zx {

namespace {

// The days whose cell in `listColumn` is selected, or the current row's day when none is.
std::vector<int> selectedDays(QTableWidget *grid, int listColumn)
{
    std::set<int> rows;
    for (const QModelIndex &i : grid->selectionModel()->selectedIndexes()) {
        if (i.column() == listColumn)
            rows.insert(i.row());
    }
    if (rows.empty() && grid->currentRow() >= 0)
        rows.insert(grid->currentRow());
    // Row r of the astro list is day r + 1 of the year, table row r.
    return {rows.begin(), rows.end()};
}

} // namespace

void wireAstroCommands(MainWindow &window, AppContext &context)
{
    MainWindow *w = &window;
    AppContext *ctx = &context;

    auto settings = std::make_shared<QPointer<AstroSettingsDialog>>();
    window.setCommandHandler(QStringLiteral("mnuAstroEin"), [=] {
        if (*settings) {
            (*settings)->raise();
            (*settings)->activateWindow();
            return;
        }
        auto *dialog = new AstroSettingsDialog(*ctx, w);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        *settings = dialog;
        QObject::connect(dialog, &AstroSettingsDialog::confirmed, w,
                         [w] { w->showList(ListAstro, SetProgram); });
        dialog->open();
    });

    // The option chosen last is offered again for the whole run.
    auto option = std::make_shared<ChangeOption>(ChangeOption::Delete);
    auto change = std::make_shared<QPointer<AstroTimeChangeDialog>>();
    window.setCommandHandler(QStringLiteral("frm_change_grid_data"), [=] {
        if (*change) {
            (*change)->raise();
            (*change)->activateWindow();
            return;
        }
        Model &m = ctx->model;
        QTableWidget *grid = w->grid();
        const int listColumn = grid->currentColumn();
        const int column = AstroTableColumnOfListColumn(listColumn);
        const std::vector<int> days = selectedDays(grid, listColumn);
        if (m.ListView != ListAstro || column < 0 || days.empty()) {
            ctx->prompter.beep();
            return;
        }
        // The dialog shows the time of the cell it opens from: the list's time, summer hour added.
        const int year = ctx->clock.today().year();
        const int currentDay = grid->currentRow();
        const int value = (currentDay >= 0 && currentDay < AstroDays)
                              ? AstroShownTime(m.astro.AstroTable[currentDay][column],
                                               AstroSummerMinutes(m, currentDay, year))
                              : NoAstroTime;
        auto *dialog = new AstroTimeChangeDialog(*ctx, value, *option, w);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        *change = dialog;
        QObject::connect(dialog, &QDialog::finished, w, [=](int result) {
            *option = dialog->option();
            if (result != QDialog::Accepted)
                return;
            // Delete is offered first; removing times is confirmed as every other deletion is.
            if (dialog->option() == ChangeOption::Delete &&
                ctx->prompter.ask(
                    extraText(ExtraText::AstroDeleteDays, ctx->model.device.Sprache).arg(days.size()),
                    Buttons::YesNo, Icon::Question) != Answer::Yes)
                return;
            if (ApplyShownTimeChangeToDays(ctx->model, column, days, dialog->change(), year))
                w->redrawList();
        });
        dialog->open();
    });
}

} // namespace zx
