#pragma once

#include <QFile>
#include <QString>

namespace zx {

// The plain-text protocol of a bus operation ("protocol.txt"): recreated at the start of every
// search and operation, one line per step, frame and error, closed when the operation ends.
// Every line is checked as it is written; a protocol that could not be written does not stop
// the operation but is reported by failed().
class ProtocolFile {
  public:
    static constexpr const char *FileName = "protocol.txt";

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
};

} // namespace zx
