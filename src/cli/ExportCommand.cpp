// zentrix-cli export: the printout of the desktop program as a PDF or as the list text file.
#include "CliTexts.h"
#include "Commands.h"

#include "i18n/ExtraTexts.h"
#include "model/Model.h"
#include "output/CsvExport.h"
#include "output/ExportFile.h"
#include "output/PrintDriver.h"
#include "output/PrintLayout.h"
#include "output/TextFileSink.h"
#include "platform/FileAccess.h"
#include "views/RowFilter.h"

#ifdef ZX_CLI_PDF
#include "paint/PagePainterSink.h"

#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#endif

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

namespace zx::cli {

namespace {

bool readFilter(const QString &path, ListFilter &filter)
{
    const auto content = readInputOrTell(path, 1 << 20);
    if (!content)
        return false;
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(*content, &parseError);
    QString error = parseError.errorString();
    if (doc.isObject() && views::FilterFromJson(doc.object(), filter, &error))
        return true;
    fail(path, error);
    return false;
}

// The list text file in memory, so that it replaces the output file in one checked step.
class TextBufferSink final : public PrintSink {
  public:
    bool printList(const PrintedList &list) override
    {
        text += output::TextFileLines(list);
        return true;
    }
    bool finish() override { return true; }
    QString errorText() const override { return {}; }
    QByteArray text;
};

} // namespace

int runExport(Options &o)
{
    const QStringList known{QStringLiteral("switching"), QStringLiteral("priority"),
                            QStringLiteral("changeover"), QStringLiteral("astro")};
    const QStringList lists =
        o.has("--lists") ? o.value("--lists").split(QLatin1Char(','), Qt::SkipEmptyParts) : known;
    const auto type = o.deviceType();
    const auto lines = o.integer("--lines", {1, 999});
    for (const QString &l : lists)
        if (!known.contains(l))
            return o.badValue("--lists",
                              cliText(CliText::OneOf, o.language()).arg(known.join(QStringLiteral(", "))));
    if (o.failed())
        return 2;
    const QString out = o.value("--out");
    // the output's name says its format; --format says it for standard output
    const auto format = o.choice("--format", {QStringLiteral("text"), QStringLiteral("csv")});
    if (o.failed())
        return 2;
    const bool pdf = !format && out.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
    const bool csv = format ? *format == 1 : out.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
    const bool append = o.has("--append");
    if (!o.expectArguments({QStringLiteral("FILE.zxp")}))
        return 2;
    if (out.isEmpty())
        return o.usageError(cliText(CliText::Missing, o.language()).arg(QStringLiteral("--out")));
    if (lists.isEmpty())
        return o.badValue("--lists",
                          cliText(CliText::OneOf, o.language()).arg(known.join(QStringLiteral(", "))));
    if ((pdf || csv || isStdio(out)) && append)
        return o.usageError(cliText(CliText::ExcludeEachOther, o.language())
                                .arg(QStringLiteral("--append"), QStringLiteral("--out ") + out));
    const QString file = o.positional.first();
    Model model;
    if (!loadProgramOrTell(model, o, file, type.value_or(0)))
        return 1;
    if (lines)
        model.transfer.PrintHeaderInterval = *lines;

    // The same lists as the desktop print: each chosen list of set 0 without filter, or with a
    // filter file each as the filtered view of the main window.
    std::vector<PrintedList> job;
    PrintSettings settings;
    if (!o.has("--filter")) {
        settings.switching = lists.contains(QStringLiteral("switching"));
        settings.priority = lists.contains(QStringLiteral("priority"));
        settings.changeover = lists.contains(QStringLiteral("changeover"));
        settings.astro = lists.contains(QStringLiteral("astro"));
        job = output::CollectPrintJob(model, settings, {});
    } else {
        if (!readFilter(o.value("--filter"), model.filter))
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
    if (job.empty())
        return fail(out, cliText(CliText::NothingToPrint, o.language()));
    // The output never replaces what it is made from, nor anything but a regular file.
    if (!isStdio(out) && IsSameFile(file, out))
        return fail(out, cliText(CliText::SameAsInput, o.language()));
    if (!isStdio(out)) {
        if (const QString refusal = WriteRefusal(ResolveLinks(out)); !refusal.isEmpty())
            return fail(out, refusal);
    }
    if (!append && !mayCreate(o, out))
        return 1;

    QString error;
    if (csv) {
        // a spreadsheet table is replaced as a whole, never appended to
        if (isStdio(out))
            printBytes(ListsCsv(model, job));
        else
            WriteFileAtomically(out, ListsCsv(model, job), &error);
    } else if (pdf) {
#ifdef ZX_CLI_PDF
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setPageSize(QPageSize(QPageSize::A4));
            writer.setResolution(300);
            writer.setPageMargins(QMarginsF(15, 12, 12, 12), QPageLayout::Millimeter);
            writer.setTitle(QFileInfo(file).fileName());
            PagePainterSink sink(writer, model.catalogue(Msg::Page), {});
            error = output::PrintLists(job, sink);
        }
        if (error.isEmpty() && !WriteFileAtomically(out, buffer.data(), &error))
            error = error.isEmpty() ? QStringLiteral("write error") : error;
#else
        error = QStringLiteral("this build exports text only");
#endif
    } else if (append) {
        TextFileSink sink(out);
        error = output::PrintLists(job, sink);
    } else {
        TextBufferSink sink;
        error = output::PrintLists(job, sink);
        if (error.isEmpty() && sink.text.isEmpty())
            return fail(out, cliText(CliText::NothingToPrint, o.language()));
        if (error.isEmpty()) {
            if (isStdio(out))
                printBytes(sink.text);
            else
                WriteFileAtomically(out, sink.text, &error);
        }
    }
    if (!error.isEmpty())
        return fail(out, error);
    return 0;
}

// PDF pages need fonts and a paint engine: the export runs under QGuiApplication on the
// offscreen platform, needing no display.
bool exportNeedsGui(int argc, char **argv)
{
#ifdef ZX_CLI_PDF
    // the command word comes after the options that may precede it
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--lang") == 0 || qstrcmp(argv[i], "--workdir") == 0)
            ++i;
        else if (qstrncmp(argv[i], "--", 2) != 0)
            return qstrcmp(argv[i], "export") == 0;
    }
    return false;
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return false;
#endif
}

} // namespace zx::cli
