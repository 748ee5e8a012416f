#pragma once

#include "platform/PrintSink.h"

#include <QByteArray>
#include <QString>

namespace zx {

// The list text file: every list is appended to the file (an existing file is extended, never
// replaced). The whole job goes in with one checked append at finish(); a write that fails
// takes the file back to its former length, so earlier printouts stay intact.
class TextFileSink : public PrintSink {
  public:
    explicit TextFileSink(QString path) : path_(std::move(path)) {}

    bool printList(const PrintedList &list) override;
    bool finish() override;
    QString errorText() const override { return error_; }
    const QString &path() const { return path_; }

  private:
    QString path_;
    QByteArray pending_;
    QString error_;
};

// Appends bytes to a file, creating it when missing. Every write is checked; on failure the
// file is cut back to its former length and `error` holds the platform's text.
bool AppendKeepingEarlier(const QString &path, const QByteArray &bytes, QString *error);

} // namespace zx
