// Every answer the serial programming interface can send, fed to a whole transfer: the input
// is cut into answers (a control byte per answer says how long it is, whether it comes in
// pieces or not at all), and a read and a write run against them. Whatever arrives, the link
// must end with 0 or 1, within its attempt limit, with the port closed, and a failed read must
// leave no "card.dat".
#include "core/transfer/SerialFakes.h"
#include "i18n/Catalogue.h"
#include "support/ScriptedPrompter.h"
#include "transfer/SerialLink.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

using namespace zx;
using namespace zx::test;

namespace {

class AnswerScript {
  public:
    AnswerScript(const uint8_t *data, size_t size) : data_(data), size_(size) {}

    Reply next(const QByteArray &request)
    {
        if (pos_ >= size_)
            return {};
        const uint8_t control = data_[pos_++];
        // 0..31: no answer; 32..63: an echo of the request's address with fuzzed data; else raw.
        if (control < 32)
            return {};
        const int length = std::min<size_t>(control & 0x1F, size_ - pos_);
        QByteArray bytes(reinterpret_cast<const char *>(data_ + pos_), length);
        pos_ += length;
        if (control < 64 && request.size() >= 3) {
            QByteArray echo = QByteArray(1, char(0x12)) + request.mid(1, 2) + bytes.left(16);
            bytes = echo;
        }
        if (control & 0x80 && bytes.size() > 1) {
            // In two pieces with a gap that may or may not end the answer.
            const int split = bytes.size() / 2;
            return {{1, bytes.left(split)}, {qint64(40 + (control & 0x40)), bytes.mid(split)}};
        }
        return {{1, bytes}};
    }

  private:
    const uint8_t *data_;
    size_t size_;
    size_t pos_ = 0;
};

int runTransfer(const char *direction, const uint8_t *data, size_t size, const QString &workDir)
{
    Catalogue catalogue;
    ScriptedPrompter prompter;
    VirtualPump pump;
    ScriptedSerialPort port(pump);
    AnswerScript script(data, size);
    port.responder = [&script](const QByteArray &request) { return script.next(request); };

    QFile msg(QDir(workDir).filePath(QStringLiteral("zentrix.msg")));
    msg.open(QIODevice::WriteOnly | QIODevice::Truncate);
    msg.write(QByteArray(direction) + "\r\n 4 \r\n 0 \r\n 0 \r\n 2 \r\n" +
              QDir(workDir).filePath(QStringLiteral("p.zxp")).toUtf8() + "\r\n");
    msg.close();

    SerialLink link(port, pump, prompter, catalogue, workDir);
    const int result = link.SerialTransfer({QStringLiteral("/dev/null"), QStringLiteral("1")});
    if (result != 0 && result != 1)
        std::abort();
    if (port.isOpen())
        std::abort();
    // Three attempts per block at the most.
    if (port.requests.size() > size_t(SerialLink::BlockCount * SerialLink::Attempts))
        std::abort();
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString work = dir.path();
    // A program file of 2048 zeros for the write direction.
    static const bool written = [&] {
        QFile f(QDir(work).filePath(QStringLiteral("p.zxp")));
        f.open(QIODevice::WriteOnly);
        for (int i = 0; i < 2048; ++i)
            f.write(" 0 \r\n");
        return true;
    }();
    (void)written;

    const QString cardDat = QDir(work).filePath(QStringLiteral("card.dat"));
    QFile::remove(cardDat);
    if (runTransfer("l", data, size, work) != 0 && QFile::exists(cardDat))
        std::abort();
    runTransfer("s", data, size, work);
    return 0;
}
