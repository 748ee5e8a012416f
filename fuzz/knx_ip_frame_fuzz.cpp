// Whatever an IP interface sends: the input is cut into datagrams (a length byte before each)
// and read by the KNXnet/IP and cEMI readers on their own, then handed to a tunnel that was
// just opened while the bus link connects to a device and waits for its answer. The readers
// may only accept what their writers produce again byte for byte; the link must end within its
// time-outs, and may take an answer only from a well-formed indication of the device.
#include "bus/BusLink.h"
#include "bus/KnxIpBusLibrary.h"
#include "bus/ProtocolFile.h"
#include "core/bus/KnxIpFakes.h"
#include "core/transfer/SerialFakes.h"
#include "i18n/Catalogue.h"
#include "platform/Clock.h"

#include <QTemporaryDir>

#include <cstdlib>

using namespace zx;
using namespace zx::test;

namespace {

std::vector<QByteArray> cut(const uint8_t *data, size_t size)
{
    std::vector<QByteArray> datagrams;
    size_t pos = 0;
    while (pos < size) {
        const size_t length = std::min<size_t>(data[pos++], size - pos);
        datagrams.emplace_back(reinterpret_cast<const char *>(data + pos), int(length));
        pos += length;
    }
    return datagrams;
}

void checkReaders(const QByteArray &bytes)
{
    const KnxIp::Datagram d = KnxIp::ReadDatagram(bytes);
    if (d.ok() && d.service == KnxIp::TunnellingRequest &&
        KnxIp::tunnellingRequest(d.channel, d.sequence, d.cemi).mid(10) != bytes.mid(10))
        std::abort();
    if (d.ok() && d.service == KnxIp::TunnellingAck &&
        KnxIp::tunnellingAck(d.channel, d.sequence, d.status) != bytes)
        std::abort();
    if (const auto f = Cemi::ReadLData(bytes)) {
        if (bytes.at(1) == 0 && std::uint8_t(bytes.at(3)) == Cemi::HopCount6 &&
            Cemi::LDataFrame(f->messageCode, f->control1, f->source, f->destination, f->tpdu) != bytes)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const std::vector<QByteArray> datagrams = cut(data, size);
    for (const QByteArray &d : datagrams)
        checkReaders(d);

    VirtualPump pump;
    ScriptedDatagramSocket socket;
    bool connected = false;
    socket.responder = [&](const QByteArray &sent) {
        const KnxIp::Datagram d = KnxIp::ReadDatagram(sent);
        if (d.service == KnxIp::ConnectRequest && !connected) {
            connected = true;
            socket.answer(KnxIp::connectResponse(1, 0, socket.peer, 0x11FF));
        } else if (d.service == KnxIp::TunnellingRequest) {
            // Whatever the input holds comes back for the first telegram, then nothing.
            for (const QByteArray &g : datagrams)
                socket.answer(g);
            socket.responder = nullptr;
        }
    };
    KnxIpBusLibrary library(socket, pump, QStringLiteral("127.0.0.1"), KnxIp::DefaultPort);
    Catalogue catalogue;
    FixedClock clock(QDateTime(QDate(2026, 1, 1), QTime(0, 0)));
    ProtocolFile protocol;
    protocol.recreate(dir.path());
    BusLink link(library, pump, clock, catalogue, protocol, BusTimings::fast());
    int status = link.OpenLink(0);
    if (status == 0)
        status = link.Connect(0x1105);
    if (status == 0)
        status = link.SendOnConnection(QByteArray::fromHex("0300"));
    int source = 0;
    QByteArray answer;
    if (status == 0)
        status = link.ReceiveFromDevice(&source, &answer);
    link.CloseLink();
    if (pump.now > 20000)
        std::abort();
    if (status == 0 && source != 0x1105)
        std::abort();
    return 0;
}
