#include "output/PrintCommands.h"

#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "i18n/ExtraTexts.h"
#include "model/Model.h"
#include "output/CsvExport.h"
#include "output/ExportFile.h"
#include "output/PrintDialog.h"
#include "output/TextFileSink.h"
#include "paint/PagePainterSink.h"
#include "platform/FileAccess.h"
#include "platform/Prompter.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStandardPaths>

namespace zx {

namespace {

// What printers can reach: most cannot print the outer 5 mm, and text close to the edge is lost
// when a page is bound or punched.
constexpr qreal PrintMarginMm = 15;

} // namespace

PrintCommands::PrintCommands(AppContext &ctx, MainWindow &window)
    : QObject(&window), ctx_(ctx), window_(window)
{
    choosePrinter = [this](QPrinter &printer) {
        // Qt's print dialog offers its PDF file in the current directory, the program's working
        // directory; the user's documents folder is where a printout belongs.
        const QString previous = QDir::currentPath();
        QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (documents.isEmpty() || !QDir(documents).exists())
            documents = QDir::homePath();
        QDir::setCurrent(documents);
        QPrintDialog dialog(&printer, &window_);
        const bool chosen = dialog.exec() == QDialog::Accepted;
        QDir::setCurrent(previous);
        return chosen;
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

PrintCommands::~PrintCommands() = default;

QPrinter &PrintCommands::printer()
{
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setPageMargins(QMarginsF(PrintMarginMm, PrintMarginMm, PrintMarginMm, PrintMarginMm),
                                 QPageLayout::Millimeter);
    }
    return *printer_;
}

QString PrintCommands::printToPdfFile(QPrinter &printer, const std::vector<PrintedList> &lists,
                                      const QString &pageWord)
{
    const QString path = printer.outputFileName();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(printer.pageLayout());
        writer.setResolution(printer.resolution());
        writer.setTitle(printer.docName());
        writer.setCreator(ctx_.model.catalogue.productTitle);
        PagePainterSink sink(writer, pageWord);
        const QString error = output::PrintLists(lists, sink);
        if (!error.isEmpty())
            return FileErrorText(path, error);
    }
    QString reason;
    if (!WriteFileAtomically(path, buffer.data(), &reason))
        return FileErrorText(path, reason);
    return {};
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
    QString done;
    const QString pageWord = m.catalogue(Msg::Page);
    const int sprache = m.device.Sprache;
    if (preview) {
        showPreview(printer(), [&](QPrinter *p) {
            PagePainterSink sink(*p, pageWord);
            error = output::PrintLists(lists, sink);
        });
    } else if (settings_.redirectToFile && settings_.csv) {
        // A table is written whole, replacing an older one; the text file is appended to.
        const QString table = CsvFileName(m.program().FileName);
        error = WriteExportFile(table, ListsCsv(m, lists), m.program().FileName, m.device.Sprache);
        done = extraText(ExtraText::ExportFinished, sprache).arg(QDir::toNativeSeparators(table));
    } else if (settings_.redirectToFile) {
        TextFileSink sink(output::TextFileName(m.program().FileName));
        error = output::PrintLists(lists, sink);
        if (!error.isEmpty())
            error = FileErrorText(sink.path(), error);
        done = extraText(ExtraText::ExportFinished, sprache).arg(QDir::toNativeSeparators(sink.path()));
    } else {
        QPrinter &p = printer();
        // The name the print dialog proposes for a PDF: the program's.
        const QString base = QFileInfo(m.program().FileName).completeBaseName();
        p.setDocName(base.isEmpty() ? m.catalogue.productTitle : base);
        if (!choosePrinter(p))
            return;
        if (p.outputFormat() == QPrinter::PdfFormat && !p.outputFileName().isEmpty()) {
            error = printToPdfFile(p, lists, pageWord);
            done = extraText(ExtraText::SavedAs, sprache).arg(QDir::toNativeSeparators(p.outputFileName()));
        } else {
            PagePainterSink sink(p, pageWord, p.outputFileName());
            error = output::PrintLists(lists, sink);
            done = extraText(ExtraText::PrintFinished, sprache);
        }
    }
    if (!error.isEmpty())
        ctx_.prompter.tell(error, Icon::Critical);
    else if (!preview)
        // The status bar is easily missed after the printer dialog has gone.
        ctx_.prompter.tell(done, Icon::Information);
}

} // namespace zx
