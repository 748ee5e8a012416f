// zentrix-cli export: the printout of the desktop program as a PDF or as the list text file.
#include "Commands.h"
#include "HeadlessPrompter.h"
#include "ProgramDocument.h"

#include "i18n/ExtraTexts.h"
#include "model/Model.h"
#include "output/CsvExport.h"
#include "output/ExportFile.h"
#include "output/PrintDriver.h"
#include "output/TextFileSink.h"
#include "platform/FileAccess.h"
#include "views/RowFilter.h"

#ifdef ZX_CLI_PDF
#include "output/PagePainterSink.h"

#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#endif

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

namespace zx::cli {

namespace {

const char *const ExportUsage =
    "zentrix-cli export FILE.zxp [--lists switching,priority,changeover,astro] [--lang en|de|fr] "
    "[--type 517|236] [--lines N] [--filter FILTER.json] [--append] --out OUT.txt|OUT.pdf|OUT.csv";

bool readFilter(const QString &path, ListFilter &filter)
{
    const FileContent file = ReadRegularFile(path, 1 << 20);
    if (!file.ok()) {
        const QString why = file.status == ReadStatus::Missing    ? QStringLiteral("no such file")
                            : file.status == ReadStatus::TooLarge ? QStringLiteral("file too large")
                                                                  : file.error;
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(why));
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.content, &parseError);
    QString error = parseError.errorString();
    if (doc.isObject() && views::FilterFromJson(doc.object(), filter, &error))
        return true;
    std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(error));
    return false;
}

} // namespace

int runExport(const QStringList &args)
{
    QString file, out, filterFile;
    QStringList lists{QStringLiteral("switching"), QStringLiteral("priority"), QStringLiteral("changeover"),
                      QStringLiteral("astro")};
    int language = English;
    int type = 0;
    int lines = -1;
    bool append = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--lists") && hasValue) {
            lists = args[++i].split(QLatin1Char(','), Qt::SkipEmptyParts);
        } else if (a == QLatin1String("--lang") && hasValue) {
            if (!parseLanguageOption(args[++i], &language))
                return usageError(ExportUsage);
        } else if (a == QLatin1String("--type") && hasValue) {
            if (!parseTypeOption(args[++i], &type))
                return usageError(ExportUsage);
        } else if (a == QLatin1String("--lines") && hasValue) {
            bool ok = false;
            lines = args[++i].toInt(&ok);
            if (!ok || lines < 1 || lines > 999)
                return usageError(ExportUsage);
        } else if (a == QLatin1String("--filter") && hasValue) {
            filterFile = args[++i];
        } else if (a == QLatin1String("--out") && hasValue) {
            out = args[++i];
        } else if (a == QLatin1String("--append")) {
            append = true;
        } else if (!a.startsWith(QLatin1String("--")) && file.isEmpty()) {
            file = a;
        } else {
            return usageError(ExportUsage);
        }
    }
    const QStringList known{QStringLiteral("switching"), QStringLiteral("priority"),
                            QStringLiteral("changeover"), QStringLiteral("astro")};
    const bool pdf = out.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
    const bool csv = out.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
    if (file.isEmpty() || out.isEmpty() || lists.isEmpty() || ((pdf || csv) && append))
        return usageError(ExportUsage);
    for (const QString &l : lists) {
        if (!known.contains(l))
            return usageError(ExportUsage);
    }

    Model model;
    model.device.Sprache = language;
    model.catalogue.fillBuiltin(language, model.BrandNumber);
    HeadlessPrompter prompter;
    int usedType = 0;
    const LoadResult result = loadProgramFile(model, prompter, file, type, &usedType);
    if (result != LoadResult::Loaded) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(file), qPrintable(loadFailureText(model, result)));
        return 1;
    }
    if (lines > 0)
        model.transfer.PrintHeaderLines = lines;

    // The same lists as the desktop print: each chosen list of set 0 without filter, or with a
    // filter file each as the filtered view of the main window.
    std::vector<PrintedList> job;
    PrintSettings settings;
    if (filterFile.isEmpty()) {
        settings.switching = lists.contains(QStringLiteral("switching"));
        settings.priority = lists.contains(QStringLiteral("priority"));
        settings.changeover = lists.contains(QStringLiteral("changeover"));
        settings.astro = lists.contains(QStringLiteral("astro"));
        job = output::CollectPrintJob(model, settings, {});
    } else {
        if (!readFilter(filterFile, model.filter))
            return 1;
        model.FilterOn = -1;
        for (int kind = ListSwitching; kind <= ListAstro; ++kind) {
            if (!lists.contains(known[kind]) || (kind == ListAstro && !output::AstroListPrintable(model)))
                continue;
            model.ListView = kind;
            settings.currentView = true;
            for (PrintedList &l : output::CollectPrintJob(model, settings, {}))
                job.push_back(std::move(l));
        }
    }

    // The text path replaces or appends to its target: never let that be the program itself.
    if (IsSameFile(out, file)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(out),
                     qPrintable(extraText(ExtraText::ExportIsSource, language)));
        return 1;
    }
    QString error;
    if (csv) {
        // A spreadsheet table is replaced as a whole, never appended to.
        error = WriteExportFile(out, ListsCsv(job), file, language);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(error.replace(QLatin1Char('\n'), QStringLiteral(": "))));
            return 1;
        }
        return 0;
    }
    if (pdf) {
#ifdef ZX_CLI_PDF
        QPdfWriter writer(out);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(300);
        writer.setPageMargins(QMarginsF(15, 12, 12, 12), QPageLayout::Millimeter);
        writer.setTitle(QFileInfo(file).fileName());
        PagePainterSink sink(writer, model.catalogue(Msg::Page), out);
        error = output::PrintLists(job, sink);
#else
        error = QStringLiteral("this build exports text only");
#endif
    } else {
        if (!append && QFileInfo::exists(out) && !QFile::remove(out)) {
            std::fprintf(stderr, "%s: cannot replace the file\n", qPrintable(out));
            return 1;
        }
        TextFileSink sink(out);
        error = output::PrintLists(job, sink);
    }
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(out), qPrintable(error));
        return 1;
    }
    return 0;
}

// PDF pages need fonts and a paint engine: the export runs under QGuiApplication on the
// offscreen platform, needing no display.
bool exportNeedsGui(int argc, char **argv)
{
#ifdef ZX_CLI_PDF
    return argc > 1 && qstrcmp(argv[1], "export") == 0;
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return false;
#endif
}

} // namespace zx::cli
