#include "paint/PagePainterSink.h"

#include "output/PrintLayout.h"
#include "platform/FileAccess.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPagedPaintDevice>

#include <algorithm>

namespace zx {

namespace {

constexpr qreal ReadablePoints = 9.5;
constexpr qreal SmallestPoints = 5.5;
constexpr int FooterLines = 2;

QFont fixedFont(qreal points)
{
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setStyleHint(QFont::TypeWriter);
    f.setPointSizeF(points);
    return f;
}

} // namespace

PagePainterSink::PagePainterSink(QPagedPaintDevice &device, QString pageWord, QString outputFile)
    : device_(device), pageWord_(std::move(pageWord)), outputFile_(std::move(outputFile))
{
}

PagePainterSink::~PagePainterSink()
{
    if (painter_.isActive())
        painter_.end();
}

bool PagePainterSink::startPage()
{
    if (painter_.isActive()) {
        if (!device_.newPage()) {
            error_ = QStringLiteral("The printer refused a new page.");
            return false;
        }
    } else if (!painter_.begin(&device_)) {
        // The paint engine keeps no text of its own; the file's open error is the system's.
        error_ = QStringLiteral("The printer could not be started.");
        if (!outputFile_.isEmpty()) {
            QFile probe(outputFile_);
            if (!probe.open(QIODevice::WriteOnly | QIODevice::Append))
                error_ = FileErrorText(outputFile_, probe.errorString());
        }
        return false;
    }
    ++pageNumber_;
    return true;
}

void PagePainterSink::footer()
{
    const QRect page = painter_.viewport();
    const QFontMetricsF fm(painter_.font(), painter_.device());
    const QString text = pageWord_ + QString::number(pageNumber_);
    painter_.drawText(QPointF((page.width() - fm.horizontalAdvance(text)) / 2, page.height() - fm.descent()),
                      text);
}

// Lines of a page: the header lines, a blank line, the column headings, the rows, and the footer
// lines at the bottom. Line k takes [k, k + 1) line spacings from the top.
int PagePainterSink::rowsThatFit(const PrintedList &list, const QFont &font) const
{
    const QFontMetricsF fm(font, &device_);
    const int lines = static_cast<int>(device_.height() / fm.lineSpacing());
    return std::max(1, lines - static_cast<int>(list.headerLines.size()) - 2 - FooterLines);
}

// The readable size when the header interval's rows fit on the page, else a smaller one down to
// the smallest readable, and narrower when the widest line is wider than the page. A font's line
// spacing does not shrink in proportion to its size, so the size found is checked on the device.
QFont PagePainterSink::fittingFont(const PrintedList &list) const
{
    const int interval = output::EffectiveHeaderInterval(list.headerInterval);
    QFont font = fixedFont(ReadablePoints);
    const QFontMetricsF fm(font, &device_);
    const int lines = static_cast<int>(list.headerLines.size()) + 2 + interval + FooterLines;
    int columns = list.tabs.empty() ? 80 : list.tabs.back();
    for (const QStringList &cells : list.rows) {
        if (!cells.isEmpty() && static_cast<int>(list.tabs.size()) >= cells.size())
            columns = std::max(columns, list.tabs[cells.size() - 1] + static_cast<int>(cells.back().size()));
    }
    for (const QString &h : list.headerLines)
        columns = std::max(columns, static_cast<int>(h.size()));
    const qreal byHeight = device_.height() / (lines * fm.lineSpacing());
    const qreal byWidth = device_.width() / (columns * fm.horizontalAdvance(QLatin1Char('M')));
    const qreal scale = std::min({1.0, byHeight, byWidth});
    if (scale >= 1.0)
        return font;
    qreal points = std::max(SmallestPoints, ReadablePoints * scale);
    font.setPointSizeF(points);
    while (points > SmallestPoints && rowsThatFit(list, font) < interval) {
        points = std::max(SmallestPoints, points - 0.25);
        font.setPointSizeF(points);
    }
    return font;
}

int PagePainterSink::rowsPerPage(const PrintedList &list) const
{
    return rowsThatFit(list, fittingFont(list));
}

// Paints each page the core laid out, rows firstRow..endRow under the header.
bool PagePainterSink::printList(const PrintedList &list)
{
    const QFont font = fittingFont(list);
    QFont bold = font;
    bold.setBold(true);

    for (const PrintPage &page : list.pages) {
        if (!startPage())
            return false;
        painter_.setFont(font);
        const QFontMetricsF fm(font, painter_.device());
        const qreal line = fm.lineSpacing();
        const qreal charWidth = fm.horizontalAdvance(QLatin1Char('M'));
        qreal y = fm.ascent();
        for (int i = 0; i < list.headerLines.size(); ++i) {
            painter_.setFont(i == 0 ? bold : font);
            painter_.drawText(QPointF(0, y), list.headerLines[i]);
            y += line;
        }
        y += line;
        auto drawCells = [&](const QStringList &cells) {
            for (int c = 0; c < cells.size(); ++c) {
                const int tab = c < static_cast<int>(list.tabs.size()) ? list.tabs[c] : 0;
                painter_.drawText(QPointF(tab * charWidth, y), cells[c]);
            }
            y += line;
        };
        painter_.setFont(bold);
        drawCells(list.columnHeader);
        painter_.setFont(font);
        for (int row = page.firstRow; row < page.endRow && row < static_cast<int>(list.rows.size()); ++row)
            drawCells(list.rows[row]);
        footer();
    }
    return true;
}

bool PagePainterSink::finish()
{
    if (!painter_.isActive())
        return true;
    if (!painter_.end()) {
        error_ = QStringLiteral("The printer could not finish the job.");
        return false;
    }
    return true;
}

} // namespace zx
