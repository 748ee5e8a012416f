// Whatever arrives from the bus coupling unit: the input is cut into pieces (a control byte per
// piece says how long it is and after how many milliseconds it arrives) and fed to the FT1.2
// reader on its own and to a whole opening of the bus link. The reader may only hand on frames
// whose exact bytes were received; the link must end within its time-outs and may succeed only
// when a complete local memory answer for the address table length came in.
#include "bus/BusLink.h"
#include "bus/Ft12BusLibrary.h"
#include "bus/Ft12Frame.h"
#include "bus/ProtocolFile.h"
#include "core/transfer/SerialFakes.h"
#include "i18n/Catalogue.h"
#include "platform/Clock.h"

#include <QTemporaryDir>

#include <cstdlib>

using namespace zx;
using namespace zx::test;

namespace {

struct Chunk {
    int afterMs;
    QByteArray bytes;
};

std::vector<Chunk> cut(const uint8_t *data, size_t size)
{
    std::vector<Chunk> pieces;
    size_t pos = 0;
    while (pos < size) {
        const uint8_t control = data[pos++];
        const size_t length = std::min<size_t>((control & 0x1F) + 1, size - pos);
        pieces.push_back(
            {(control >> 5) * 20, QByteArray(reinterpret_cast<const char *>(data + pos), int(length))});
        pos += length;
    }
    return pieces;
}

void checkReader(const std::vector<Chunk> &pieces, const QByteArray &all)
{
    Ft12Reader reader;
    for (const Chunk &p : pieces) {
        reader.feed(p.bytes);
        while (auto e = reader.next()) {
            QByteArray frame;
            if (e->kind == Ft12Event::Kind::Ack)
                frame = QByteArray(1, char(Ft12::Ack));
            else if (e->kind == Ft12Event::Kind::Fixed)
                frame = Ft12::fixedFrame(e->control);
            else
                frame = Ft12::variableFrame(e->control, e->userData);
            if (!all.contains(frame) || e->userData.size() > Ft12::MaxUserData)
                std::abort();
        }
        reader.dropStale();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const std::vector<Chunk> pieces = cut(data, size);
    QByteArray all; // the bytes as they arrive, without the control bytes
    for (const Chunk &c : pieces)
        all += c.bytes;
    checkReader(pieces, all);

    // The whole input answers the first frame the link sends, piece by piece and in order.
    VirtualPump pump;
    ScriptedSerialPort port(pump);
    bool answered = false;
    port.responder = [&](const QByteArray &request) {
        Reply reply;
        if (request.size() > 1 && !answered) {
            answered = true;
            for (const Chunk &c : pieces)
                reply.push_back({c.afterMs, c.bytes});
        }
        return reply;
    };
    Ft12BusLibrary library(port, pump, [](int) { return QStringLiteral("/dev/bcu"); });
    Catalogue catalogue;
    FixedClock clock(QDateTime(QDate(2026, 1, 1), QTime(0, 0)));
    ProtocolFile protocol;
    protocol.recreate(dir.path());
    BusTimings timings = BusTimings::fast();
    BusLink link(library, pump, clock, catalogue, protocol, timings);
    const int status = link.OpenLink(0);
    link.CloseLink();
    // Frames, repetitions and time-outs: a few seconds of virtual time at the most.
    if (pump.now > 20000)
        std::abort();
    if (status == 0 && !all.contains(QByteArray::fromHex("4B010116")))
        std::abort();
    return 0;
}
