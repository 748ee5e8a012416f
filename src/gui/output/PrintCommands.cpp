#include "output/PrintCommands.h"

#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "model/Model.h"
#include "output/CsvExport.h"
#include "output/ExportFile.h"
#include "output/PagePainterSink.h"
#include "output/PrintDialog.h"
#include "output/TextFileSink.h"
#include "platform/FileAccess.h"
#include "platform/Prompter.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace zx {

PrintCommands::PrintCommands(AppContext &ctx, MainWindow &window)
    : QObject(&window), ctx_(ctx), window_(window)
{
    choosePrinter = [this](QPrinter &printer) {
        QPrintDialog dialog(&printer, &window_);
        return dialog.exec() == QDialog::Accepted;
    };
    showPreview = [this](QPrinter &printer, const std::function<void(QPrinter *)> &paint) {
        QPrintPreviewDialog dialog(&printer, &window_);
        dialog.setObjectName(QStringLiteral("frmDruckVorschau"));
        connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&paint](QPrinter *p) { paint(p); });
        dialog.resize(900, 700);
        dialog.exec();
    };
}

void PrintCommands::printFromDialog()
{
    PrintDialog dialog(ctx_, settings_, &window_);
    connect(&dialog, &PrintDialog::propertiesChanged, &window_, &MainWindow::redrawList);
    dialog.exec();
    if (dialog.choice() == PrintDialog::Choice::Cancel)
        return;
    run(dialog.choice() == PrintDialog::Choice::Preview);
}

void PrintCommands::printCurrentView()
{
    settings_.currentView = true;
    run(false);
}

void PrintCommands::run(bool preview)
{
    Model &m = ctx_.model;
    // The lists are built from the model alone: the grid and its marks stay as they are, and the
    // shown list and filter are back in the model before anything reaches the printer.
    const std::vector<PrintedList> lists = output::CollectPrintJob(m, settings_, window_.listOptions());
    if (lists.empty())
        return;

    QString error;
    const QString pageWord = m.catalogue(Msg::Page);
    if (preview) {
        QPrinter printer(QPrinter::HighResolution);
        showPreview(printer, [&](QPrinter *p) {
            PagePainterSink sink(*p, pageWord);
            error = output::PrintLists(lists, sink);
        });
    } else if (settings_.redirectToFile && settings_.csv) {
        // A table is written whole, replacing an older one; the text file is appended to.
        error = WriteExportFile(CsvFileName(m.program().FileName), ListsCsv(lists), m.program().FileName,
                                m.device.Sprache);
    } else if (settings_.redirectToFile) {
        TextFileSink sink(output::TextFileName(m.program().FileName));
        error = output::PrintLists(lists, sink);
        if (!error.isEmpty())
            error = FileErrorText(sink.path(), error);
    } else {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(m.catalogue.productTitle);
        if (!choosePrinter(printer))
            return;
        PagePainterSink sink(printer, pageWord, printer.outputFileName());
        error = output::PrintLists(lists, sink);
    }
    if (!error.isEmpty())
        ctx_.prompter.tell(error, Icon::Critical);
}

} // namespace zx
