#pragma once

#include <QString>

namespace zx {

struct PrintedList;

// Where printed lists go: the printer (or a PDF), or the list text file. The core lays out
// lists and pages; a sink only renders them.
class PrintSink {
  public:
    virtual ~PrintSink() = default;
    // How many rows of this list fit on one page under its header; 0 when the output has no
    // pages (a text file). The core breaks the pages by it and the header interval.
    virtual int rowsPerPage(const PrintedList &) const { return 0; }
    // One list with its page header, its rows and its page ranges. False on failure.
    virtual bool printList(const PrintedList &list) = 0;
    // Ends the job (the printer's last page, the file's append). False on failure.
    virtual bool finish() = 0;
    // The platform's text of the failure.
    virtual QString errorText() const = 0;
};

} // namespace zx
