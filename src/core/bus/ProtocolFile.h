#pragma once

#include <QFile>
#include <QString>

namespace zx {

// The plain-text protocol of a bus operation ("protocol.txt"): recreated at the start of every
// search and operation, one line per step, frame and error, closed when the operation ends.
// Every line is checked as it is written; a protocol that could not be written does not stop
// the operation but is reported by failed(). A protocol stops growing at `Limit` bytes (a full
// program writes well under a megabyte): whatever a broken coupling unit sends, the disk is safe.
class ProtocolFile {
  public:
    static constexpr const char *FileName = "protocol.txt";
    static constexpr qint64 Limit = 8 * 1024 * 1024;

    ProtocolFile() = default;
    ProtocolFile(const ProtocolFile &) = delete;
    ProtocolFile &operator=(const ProtocolFile &) = delete;
    ~ProtocolFile() { close(); }

    // Creates the file afresh in `dir`; false with the system's text.
    bool recreate(const QString &dir, QString *error = nullptr);
    void line(const QString &text);
    void close();
    bool isOpen() const { return file_.isOpen(); }
    bool failed() const { return failed_; }
    QString path() const { return file_.fileName(); }

  private:
    QFile file_;
    bool failed_ = false;
    qint64 written_ = 0;
    bool cutOff_ = false;
    qint64 limit_ = Limit;

  public:
    // Tests lower the limit.
    void setLimit(qint64 bytes) { limit_ = bytes; }
};

} // namespace zx
