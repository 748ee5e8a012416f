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

QFont PagePainterSink::fittingFont(const PrintedList &list, int headerInterval) const
{
    const QRect page(0, 0, device_.width(), device_.height());
    QFont font = fixedFont(ReadablePoints);
    const QFontMetricsF fm(font, &device_);
    const int lines = static_cast<int>(list.headerLines.size()) + 2 + headerInterval + FooterLines;
    int columns = list.tabs.empty() ? 80 : list.tabs.back();
    for (const QStringList &cells : list.rows) {
        if (!cells.isEmpty() && static_cast<int>(list.tabs.size()) >= cells.size())
            columns = std::max(columns, list.tabs[cells.size() - 1] + static_cast<int>(cells.back().size()));
    }
    for (const QString &h : list.headerLines)
        columns = std::max(columns, static_cast<int>(h.size()));
    const qreal byHeight = page.height() / (lines * fm.lineSpacing());
    const qreal byWidth = page.width() / (columns * fm.horizontalAdvance(QLatin1Char('M')));
    const qreal scale = std::min({1.0, byHeight, byWidth});
    if (scale < 1.0)
        font.setPointSizeF(std::max(SmallestPoints, ReadablePoints * scale));
    return font;
}

bool PagePainterSink::printList(const PrintedList &list)
{
    int interval = 1;
    for (const PrintPage &p : list.pages)
        interval = std::max(interval, p.endRow - p.firstRow);
    const QFont font = fittingFont(list, interval);
    QFont bold = font;
    bold.setBold(true);

    int row = 0;
    for (const PrintPage &page : list.pages) {
        row = page.firstRow;
        // A page too short for its rows (a very large header interval) continues on further
        // pages, each with the header again.
        do {
            if (!startPage())
                return false;
            painter_.setFont(font);
            const QFontMetricsF fm(font, painter_.device());
            const qreal line = fm.lineSpacing();
            const qreal charWidth = fm.horizontalAdvance(QLatin1Char('M'));
            const qreal bottom = painter_.viewport().height() - FooterLines * line;
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
            do {
                if (row < page.endRow)
                    drawCells(list.rows[row++]);
            } while (row < page.endRow && y + line <= bottom);
            footer();
        } while (row < page.endRow);
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
