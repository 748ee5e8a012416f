#include "output/PrintLayout.h"

#include "model/Model.h"

#include <QFileInfo>

#include <algorithm>

namespace zx::output {

namespace {

// Up to ten cells of a row go into the text file, as many as the grid has columns.
constexpr int MaxTextCells = 10;
constexpr int ColumnGap = 2;

int listTitle(int listKind)
{
    switch (listKind) {
    case ListPriority:
        return Msg::ListPriorityProgram;
    case ListChangeover:
        return Msg::ListChangeoverTable;
    case ListAstro:
        return Msg::Astrotimes;
    default:
        return Msg::ListSwitchingProgram;
    }
}

} // namespace

int EffectiveHeaderInterval(int configured)
{
    return configured > 0 ? configured : DefaultHeaderInterval;
}

int HeaderIntervalToStore(int chosen, int configured)
{
    return chosen == EffectiveHeaderInterval(configured) ? configured : chosen;
}

QStringList PrintHeaderLines(const Model &model, int listKind, int setIndex, bool filtered)
{
    const Catalogue &c = model.catalogue;
    const ProgramSet &p = model.set(setIndex);
    QStringList lines;
    lines << c(listTitle(listKind)).trimmed() + QLatin1Char(' ') + c(Msg::From).trimmed() + QLatin1Char(' ') +
                 p.FileName + QStringLiteral(", ") + c(filtered ? Msg::WithFilter : Msg::WithoutFilter);
    QStringList legend;
    const int channels = qBound(1, model.device.Kanalzahl, 8);
    for (int i = 0; i < channels; ++i)
        // A channel without a name shows its label alone.
        legend << (c(Msg::ChannelPrefix).trimmed() + QString::number(i + 1) + QLatin1Char(' ') +
                   p.ChannelNames[i])
                      .trimmed();
    lines << legend.join(QStringLiteral(", "));
    lines << c(Msg::Use) + QStringLiteral(": ") + p.UsageText;
    lines << c(Msg::NoOfTheProgram) + QStringLiteral(": ") + views::ProgramNumberText(model, setIndex);
    return lines;
}

std::vector<PrintPage> PageRanges(int rowCount, int headerInterval, int rowsThatFit)
{
    int interval = EffectiveHeaderInterval(headerInterval);
    if (rowsThatFit > 0)
        interval = std::min(interval, rowsThatFit);
    std::vector<PrintPage> pages;
    for (int first = 0; first < rowCount || pages.empty(); first += interval)
        pages.push_back({first, std::min(rowCount, first + interval)});
    return pages;
}

PrintedList LayoutList(const Model &model, int listKind, int setIndex, const ListTable &table, bool filtered)
{
    PrintedList list;
    list.listKind = listKind;
    list.headerLines = PrintHeaderLines(model, listKind, setIndex, filtered);
    list.columnHeader = table.header;
    for (const ListRow &row : table.rows) {
        list.rows.push_back(row.cells);
        list.recordIndex.push_back(row.recordIndex);
    }
    list.year = table.year;

    // Each column as wide as its widest text, as the grid sizes its columns.
    std::vector<int> widths(table.header.size(), 0);
    auto widen = [&widths](const QStringList &cells) {
        if (widths.size() < static_cast<std::size_t>(cells.size()))
            widths.resize(cells.size(), 0);
        for (int i = 0; i < cells.size(); ++i)
            widths[i] = std::max(widths[i], static_cast<int>(cells[i].size()));
    };
    widen(list.columnHeader);
    for (const QStringList &cells : list.rows)
        widen(cells);
    int tab = 0;
    for (int w : widths) {
        list.tabs.push_back(tab);
        tab += w + ColumnGap;
    }
    list.headerInterval = model.transfer.PrintHeaderInterval;
    list.pages = PageRanges(static_cast<int>(list.rows.size()), list.headerInterval);
    return list;
}

QString TextFileName(const QString &programFile)
{
    const QFileInfo info(programFile);
    const QString name = info.fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    // Only the file's own name counts: a dot in a folder name is no extension.
    const QString stem = dot >= 0 ? name.left(dot) : name;
    const QString dir = programFile.left(programFile.size() - name.size());
    return dir + stem + QStringLiteral(".txt");
}

QByteArray TextFileLines(const PrintedList &list)
{
    auto line = [&list](const QStringList &cells) {
        QString text;
        const int n = std::min<int>(cells.size(), MaxTextCells);
        for (int i = 0; i < n; ++i) {
            const int tab =
                i < static_cast<int>(list.tabs.size()) ? list.tabs[i] : static_cast<int>(text.size());
            if (text.size() < tab)
                text += QString(tab - text.size(), QLatin1Char(' '));
            else if (i > 0)
                text += QLatin1Char(' ');
            text += cells[i];
        }
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        return text + QStringLiteral("\r\n");
    };
    QString out;
    for (const QString &h : list.headerLines)
        out += h + QStringLiteral("\r\n");
    out += QStringLiteral("\r\n");
    out += line(list.columnHeader);
    for (const QStringList &cells : list.rows)
        out += line(cells);
    out += QStringLiteral("\r\n");
    return out.toUtf8();
}

} // namespace zx::output
