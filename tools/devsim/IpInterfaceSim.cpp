// devsim ip: a simulated KNXnet/IP tunnelling interface on 127.0.0.1 with the same simulated
// time switches behind it as devsim bus (the device part is shared; only the front end differs).
// One tunnelling channel, so a connection that was never closed shows at the next connect.
#include "BusCouplerSim.h"
#include "SimSupport.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <netinet/in.h>
#include <poll.h>
#include <random>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace devsim {

namespace {

using Bytes = std::vector<std::uint8_t>;

enum class IpFault { None, Refuse, LostAck, NoConfirm, Drop, Oversize };

constexpr FaultName<IpFault> ipFaults[] = {
    {"refuse", IpFault::Refuse}, {"lost-ack", IpFault::LostAck},  {"no-confirm", IpFault::NoConfirm},
    {"drop", IpFault::Drop},     {"oversize", IpFault::Oversize},
};

// How the interface and the time switches behind it treat what the network loses.
struct IpLine {
    double lossIn = 0;         // share of the client's datagrams lost on the way in
    double lossOut = 0;        // share of the interface's datagrams lost on the way out
    unsigned seed = 1;         // the losses are the same in every run with the same seed
    int ackWaitMs = 1000;      // the interface repeats a request unacknowledged this long, once
    bool strict = false;       // a request unacknowledged after its repeat ends the tunnel
    int transportAckMs = 3000; // a time switch repeats its answer unacknowledged this long
};

long long nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

constexpr std::uint8_t Channel = 7;
constexpr int TunnelAddress = 0x11FF; // the individual address the interface gives the tunnel

int ipUsage()
{
    std::fprintf(stderr,
                 "usage: devsim ip [--device A.L.D]... [--brand N] [--fault KIND] [--fault-count N]\n"
                 "                 [--fault-after N] [--dump FILE] [--verbose]\n"
                 "                 [--loss-in P] [--loss-out P] [--seed N] [--ack-wait MS] [--strict]\n"
                 "                 [--transport-ack MS]\n"
                 "  prints 127.0.0.1:PORT, the interface's endpoint\n"
                 "  --fault KIND    refuse (no free channel), lost-ack (tunnelling acknowledgements lost),\n"
                 "                  no-confirm (a tunnelling request never confirmed on the bus),\n"
                 "                  drop (the connection dropped: requests unanswered, the heartbeat\n"
                 "                  answered with an error), oversize (each request to the client comes\n"
                 "                  after a forged copy: 1100 bytes whose header says 1024), or a time\n"
                 "                  switch fault of devsim bus:\n"
                 "                  no-device, busy, wrong-mask, wrong-ident, no-write\n"
                 "  --fault-count N fault only the first N times; --fault-after N after N telegrams\n"
                 "  SIGUSR1 ends the fault, SIGUSR2 makes it strike from the next telegram on\n"
                 "  --loss-in P, --loss-out P  lose P percent of the datagrams from / to the client,\n"
                 "                  chosen by --seed N\n"
                 "  --ack-wait MS   the interface repeats an unacknowledged request after MS (1000), once;\n"
                 "                  then gives it up, or with --strict ends the tunnel\n"
                 "  --transport-ack MS  a time switch repeats an unacknowledged answer after MS (3000)\n");
    return 2;
}

int u16(const Bytes &b, std::size_t i)
{
    return (b[i] << 8) | b[i + 1];
}

Bytes header(int service, const Bytes &body)
{
    const int total = 6 + int(body.size());
    Bytes b{0x06,
            0x10,
            std::uint8_t(service >> 8),
            std::uint8_t(service),
            std::uint8_t(total >> 8),
            std::uint8_t(total)};
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

class IpInterfaceSim {
  public:
    IpInterfaceSim(BusOptions bus, IpFault fault, int faultCount, bool verbose, IpLine line)
        : bus_(std::move(bus)), fault_(fault), faultCount_(faultCount), verbose_(verbose), line_(line),
          random_(line.seed)
    {
    }

    int run()
    {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr *>(&a), &length) != 0) {
            std::perror("devsim ip");
            return 1;
        }
        self_ = a;
        std::printf("127.0.0.1:%d\n", ntohs(a.sin_port));
        std::fflush(stdout);
        while (!BusCouplerSim::stopping()) {
            if (bus_.serviceSignals()) {
                fault_ = IpFault::None;
                dropped_ = false;
            }
            serviceTimers();
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 5) <= 0)
                continue;
            std::uint8_t buffer[2048];
            sockaddr_in from{};
            socklen_t fromLength = sizeof from;
            const ssize_t n =
                ::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr *>(&from), &fromLength);
            if (n <= 0)
                continue;
            const bool gone = lost(line_.lossIn);
            if (verbose_) {
                std::fprintf(stderr, "devsim ip %s", gone ? "-> lost:" : "->");
                for (ssize_t i = 0; i < n; ++i)
                    std::fprintf(stderr, " %02X", buffer[i]);
                std::fprintf(stderr, "\n");
            }
            if (!gone)
                onDatagram(Bytes(buffer, buffer + n), from);
        }
        std::fprintf(stderr, "devsim ip: %ld telegrams\n", bus_.framesFromPc());
        ::close(fd_);
        return 0;
    }

  private:
    bool armed(IpFault f) const { return fault_ == f && bus_.framesFromPc() > bus_.options().faultAfter; }
    bool applies(IpFault f)
    {
        if (!armed(f))
            return false;
        if (faultCount_ == 0)
            return true;
        if (faulted_ >= faultCount_)
            return false;
        ++faulted_;
        return true;
    }
    bool lost(double share)
    {
        return share > 0 && std::uniform_real_distribution<double>(0, 100)(random_) < share;
    }
    void sendTo(const sockaddr_in &to, const Bytes &b)
    {
        const bool gone = lost(line_.lossOut);
        if (verbose_) {
            std::fprintf(stderr, "devsim ip <-%s", gone ? " lost:" : "");
            for (auto x : b)
                std::fprintf(stderr, " %02X", x);
            std::fprintf(stderr, "\n");
        }
        if (gone)
            return;
        ::sendto(fd_, b.data(), b.size(), 0, reinterpret_cast<const sockaddr *>(&to), sizeof to);
    }
    // An HPAI at i, 0.0.0.0:0 meaning the sender (NAT).
    sockaddr_in hpai(const Bytes &b, std::size_t i, const sockaddr_in &sender)
    {
        sockaddr_in e{};
        e.sin_family = AF_INET;
        e.sin_addr.s_addr = htonl((std::uint32_t(u16(b, i + 2)) << 16) | std::uint32_t(u16(b, i + 4)));
        e.sin_port = htons(std::uint16_t(u16(b, i + 6)));
        if (e.sin_addr.s_addr == 0 || e.sin_port == 0)
            return sender;
        return e;
    }
    Bytes selfHpai() const
    {
        const std::uint32_t ip = ntohl(self_.sin_addr.s_addr);
        const int port = ntohs(self_.sin_port);
        return {8,
                1,
                std::uint8_t(ip >> 24),
                std::uint8_t(ip >> 16),
                std::uint8_t(ip >> 8),
                std::uint8_t(ip),
                std::uint8_t(port >> 8),
                std::uint8_t(port)};
    }

    void onDatagram(const Bytes &b, const sockaddr_in &from)
    {
        if (b.size() < 6 || b[0] != 0x06 || b[1] != 0x10 || u16(b, 4) != int(b.size()))
            return;
        const int service = u16(b, 2);
        switch (service) {
        case 0x0205: { // connect request: control HPAI, data HPAI, CRI
            if (b.size() < 26)
                return;
            const sockaddr_in control = hpai(b, 6, from);
            if (open_ && sameEndpoint(control, control_)) {
                sendTo(control, connectResponse()); // a repeat: its answer was lost
                return;
            }
            if (open_ || applies(IpFault::Refuse)) {
                sendTo(control, header(0x0206, {0, 0x24}));
                return;
            }
            open_ = true;
            dropped_ = false;
            control_ = control;
            data_ = hpai(b, 14, from);
            toClient_ = 0;
            fromClient_ = 0;
            connected_ = -1;
            outgoing_.clear();
            awaitingTransportAck_ = false;
            sendTo(control, connectResponse());
            break;
        }
        case 0x0207: // connection state request
            if (b.size() >= 16)
                sendTo(
                    hpai(b, 8, from),
                    header(0x0208, {b[6], std::uint8_t(open_ && b[6] == Channel && !dropped_ ? 0 : 0x21)}));
            break;
        case 0x0209: // disconnect request
            if (b.size() >= 16) {
                const bool ours = open_ && b[6] == Channel;
                if (ours) {
                    open_ = false;
                    outgoing_.clear();
                }
                sendTo(hpai(b, 8, from), header(0x020A, {b[6], std::uint8_t(ours ? 0 : 0x21)}));
            }
            break;
        case 0x0420: // tunnelling request
            if (b.size() < 10 || b[6] != 4 || b[7] != Channel || !open_)
                return;
            if (armed(IpFault::Drop))
                dropped_ = true;
            if (dropped_)
                return;
            onTunnelling(b);
            break;
        case 0x0421: // tunnelling ack of the client
            if (b.size() == 10 && b[7] == Channel && open_ && !outgoing_.empty() &&
                b[8] == outgoing_.front().sequence) {
                outgoing_.pop_front();
                sendNext();
            }
            break;
        default:
            break;
        }
    }

    static bool sameEndpoint(const sockaddr_in &a, const sockaddr_in &b)
    {
        return a.sin_addr.s_addr == b.sin_addr.s_addr && a.sin_port == b.sin_port;
    }
    Bytes connectResponse() const
    {
        Bytes body{Channel, 0};
        const Bytes h = selfHpai();
        body.insert(body.end(), h.begin(), h.end());
        body.insert(body.end(), {4, 4, std::uint8_t(TunnelAddress >> 8), std::uint8_t(TunnelAddress)});
        return header(0x0206, body);
    }

    // The interface's requests to the client go one at a time, each repeated once when its
    // acknowledgement does not come; then it is given up (the counter moves on), or with
    // --strict the tunnel is ended as the standard has it.
    void sendNext()
    {
        if (outgoing_.empty() || outgoing_.front().sentAt != 0)
            return;
        Pending &p = outgoing_.front();
        p.sentAt = nowMs();
        if (applies(IpFault::Oversize)) {
            // A forged copy first: longer than its header says, cut to the header's 1024 bytes
            // by a reader with a small buffer, where it passes and takes the sequence number.
            Bytes forged = p.datagram;
            forged.resize(1100, 0);
            forged[4] = 1024 >> 8;
            forged[5] = 1024 & 0xFF;
            sendTo(data_, forged);
        }
        sendTo(data_, p.datagram);
    }
    void serviceTimers()
    {
        const long long now = nowMs();
        if (open_ && !outgoing_.empty() && outgoing_.front().sentAt != 0 &&
            now - outgoing_.front().sentAt >= line_.ackWaitMs) {
            Pending &p = outgoing_.front();
            if (!p.repeated) {
                p.repeated = true;
                p.sentAt = now;
                sendTo(data_, p.datagram);
            } else if (line_.strict) {
                std::fprintf(stderr, "devsim ip: request %d unacknowledged, tunnel ended\n", p.sequence);
                Bytes body{Channel, 0};
                const Bytes h = selfHpai();
                body.insert(body.end(), h.begin(), h.end());
                sendTo(control_, header(0x0209, body));
                open_ = false;
                outgoing_.clear();
            } else {
                outgoing_.pop_front();
                sendNext();
            }
        }
        // The time switch repeats an answer the client did not acknowledge, three times, then
        // ends the connection.
        if (awaitingTransportAck_ && now - transportSentAt_ >= line_.transportAckMs) {
            if (transportRepeats_ < 3) {
                ++transportRepeats_;
                transportSentAt_ = now;
                indication(connected_, lastAnswer_);
            } else {
                awaitingTransportAck_ = false;
                indication(connected_, {0x81});
                connected_ = -1;
            }
        }
    }

    void onTunnelling(const Bytes &b)
    {
        const std::uint8_t sequence = b[8];
        if (sequence == std::uint8_t(fromClient_ - 1)) {
            if (!applies(IpFault::LostAck))
                sendTo(data_, header(0x0421, {4, Channel, sequence, 0})); // a repetition
            return;
        }
        if (sequence != fromClient_)
            return;
        ++fromClient_;
        if (!applies(IpFault::LostAck))
            sendTo(data_, header(0x0421, {4, Channel, sequence, 0}));
        const Bytes cemi(b.begin() + 10, b.end());
        // L_Data.req: 11 addlen ctrl1 ctrl2 src(2) dst(2) len tpdu
        if (cemi.size() < 10 || cemi[0] != 0x11)
            return;
        const std::size_t at = 2 + cemi[1];
        if (cemi.size() < at + 8 || cemi.size() != at + 7 + cemi[at + 6] + 1u)
            return;
        bus_.countFrame();
        const int destination = u16(cemi, at + 4);
        // The interface fills in its tunnel's address where the client left it 0; a client that
        // is itself a bus stack (knxd) sends with its own, and the device answers to it.
        requester_ = u16(cemi, at + 2) != 0 ? u16(cemi, at + 2) : TunnelAddress;
        const Bytes tpdu(cemi.begin() + long(at + 7), cemi.end());
        if (!applies(IpFault::NoConfirm)) {
            Bytes con = cemi;
            con[0] = 0x2E;
            con[at + 2] = std::uint8_t(requester_ >> 8);
            con[at + 3] = std::uint8_t(requester_);
            toClientCemi(con);
        }
        if ((cemi[at + 1] & 0x80) || !bus_.hasDevice(destination) || bus_.faultArmed(BusFault::NoDevice))
            return; // a group telegram, nobody there, or a time switch that went silent
        onTransport(destination, tpdu);
    }

    void toClientCemi(const Bytes &cemi)
    {
        const std::uint8_t sequence = toClient_++;
        Bytes body{4, Channel, sequence, 0};
        body.insert(body.end(), cemi.begin(), cemi.end());
        outgoing_.push_back({header(0x0420, body), sequence, 0, false});
        sendNext();
    }
    void indication(int source, const Bytes &tpdu)
    {
        Bytes cemi{0x29,
                   0,
                   0xB0,
                   0x60,
                   std::uint8_t(source >> 8),
                   std::uint8_t(source),
                   std::uint8_t(requester_ >> 8),
                   std::uint8_t(requester_),
                   std::uint8_t(tpdu.size() - 1)};
        cemi.insert(cemi.end(), tpdu.begin(), tpdu.end());
        toClientCemi(cemi);
    }

    // The time switch's transport layer: one connection, numbered data acknowledged.
    void onTransport(int device, const Bytes &tpdu)
    {
        const int tpci = tpdu[0];
        if (tpci == 0x80) {
            connected_ = device;
            seqIn_ = 0;
            seqOut_ = 0;
            awaitingTransportAck_ = false;
            return;
        }
        if (tpci == 0x81) {
            if (connected_ == device) {
                connected_ = -1;
                awaitingTransportAck_ = false;
            }
            return;
        }
        if ((tpci & 0xC3) == 0xC2) { // T_ACK of the answer
            if (connected_ == device && awaitingTransportAck_ &&
                ((tpci >> 2) & 0x0F) == ((seqOut_ - 1) & 0x0F))
                awaitingTransportAck_ = false;
            return;
        }
        if ((tpci & 0xC0) != 0x40 || connected_ != device || tpdu.size() < 2)
            return;
        const int sequence = (tpci >> 2) & 0x0F;
        if (sequence == ((seqIn_ - 1) & 0x0F)) {
            indication(device, {std::uint8_t(0xC2 | (sequence << 2))});
            return;
        }
        if (sequence != seqIn_)
            return;
        seqIn_ = (seqIn_ + 1) & 0x0F;
        indication(device, {std::uint8_t(0xC2 | (sequence << 2))});
        Bytes app = tpdu;
        app[0] = std::uint8_t(tpci & 0x03);
        const auto reply = bus_.deviceReply(device, app);
        if (!reply || reply->empty())
            return;
        Bytes answer = *reply;
        answer[0] = std::uint8_t(0x40 | (seqOut_ << 2) | (answer[0] & 0x03));
        seqOut_ = (seqOut_ + 1) & 0x0F;
        lastAnswer_ = answer;
        awaitingTransportAck_ = true;
        transportRepeats_ = 0;
        transportSentAt_ = nowMs();
        indication(device, answer);
    }

    struct Pending {
        Bytes datagram;
        std::uint8_t sequence;
        long long sentAt; // 0: not sent yet
        bool repeated;
    };

    BusCouplerSim bus_;
    IpFault fault_;
    int faultCount_;
    int faulted_ = 0;
    bool verbose_;
    IpLine line_;
    std::mt19937 random_;
    std::deque<Pending> outgoing_;
    sockaddr_in control_{};
    Bytes lastAnswer_;
    bool awaitingTransportAck_ = false;
    int transportRepeats_ = 0;
    long long transportSentAt_ = 0;
    int fd_ = -1;
    sockaddr_in self_{};
    sockaddr_in data_{};
    bool open_ = false;
    bool dropped_ = false;
    std::uint8_t toClient_ = 0;
    std::uint8_t fromClient_ = 0;
    int connected_ = -1;
    int requester_ = TunnelAddress;
    int seqIn_ = 0, seqOut_ = 0;
};

} // namespace

int runIpSimulator(int argc, char *argv[])
{
    BusOptions options;
    options.byteMicros = 0;
    IpFault fault = IpFault::None;
    IpLine line;
    for (int i = 0; i < argc; ++i) {
        if (takeDeviceOption(argc, argv, i, options))
            continue;
        const std::string arg = argv[i];
        if (arg == "--strict") {
            line.strict = true;
            continue;
        }
        if ((arg == "--loss-in" || arg == "--loss-out" || arg == "--seed" || arg == "--ack-wait" ||
             arg == "--transport-ack") &&
            i + 1 < argc) {
            char *end = nullptr;
            const double value = std::strtod(argv[++i], &end);
            if (*end != '\0' || value < 0 || (arg.rfind("--loss", 0) == 0 && value > 100))
                return ipUsage();
            if (arg == "--loss-in")
                line.lossIn = value;
            else if (arg == "--loss-out")
                line.lossOut = value;
            else if (arg == "--seed")
                line.seed = unsigned(value);
            else if (arg == "--ack-wait")
                line.ackWaitMs = int(value);
            else
                line.transportAckMs = int(value);
            continue;
        }
        if (std::strcmp(argv[i], "--fault") != 0 || i + 1 >= argc)
            return ipUsage();
        const std::string name = argv[++i];
        if (!findFault(ipFaults, name, &fault) &&
            !(parseBusFault(name, &options.fault) && options.fault != BusFault::NoBcu &&
              options.fault != BusFault::LostAck && options.fault != BusFault::BadChecksum &&
              options.fault != BusFault::Babble))
            return ipUsage();
    }
    // The trace is the interface's own; the time switches behind it stay quiet.
    const bool verbose = options.verbose;
    options.verbose = false;
    BusCouplerSim::installSignalHandlers();
    const int count = options.faultCount;
    IpInterfaceSim sim(std::move(options), fault, count, verbose, line);
    return sim.run();
}

} // namespace devsim
