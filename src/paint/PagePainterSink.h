#pragma once

#include "platform/PrintSink.h"

#include <QFont>
#include <QPainter>
#include <QString>

class QPagedPaintDevice;

namespace zx {

// The printer side of printing: paints the laid-out pages of each list onto a paged device
// (QPrinter for a printer, its PDF output or the print preview; QPdfWriter headless). Each page
// carries the header lines and the column headings, the rows at the lists' tab positions in a
// fixed-pitch font, and the page number in the footer.
class PagePainterSink : public PrintSink {
  public:
    // `pageWord` is the catalogue's "page "; `outputFile` names the PDF file being written, if
    // any, for the error text.
    PagePainterSink(QPagedPaintDevice &device, QString pageWord, QString outputFile = {});
    ~PagePainterSink() override;

    int rowsPerPage(const PrintedList &list) const override;
    bool printList(const PrintedList &list) override;
    bool finish() override;
    QString errorText() const override { return error_; }
    int pagesPrinted() const { return pageNumber_; }

  private:
    bool startPage();
    void footer();
    QFont fittingFont(const PrintedList &list) const;
    int rowsThatFit(const PrintedList &list, const QFont &font) const;

    QPagedPaintDevice &device_;
    QPainter painter_;
    QString pageWord_;
    QString outputFile_;
    QString error_;
    int pageNumber_ = 0;
};

} // namespace zx
