#pragma once

#include "bus/KnxIpFrame.h"
#include "platform/BusLibrary.h"

#include <deque>
#include <optional>

namespace zx {

class EventPump;

// The time-outs of KNXnet/IP tunnelling and of the transport layer to the device. The product
// keeps the standard's values; fast() is the one switch that shrinks them all alike for tests
// against a simulator on this machine.
struct KnxIpTimings {
    int tunnellingAckMs = 1000;      // TUNNELLING_ACK; the request is repeated once
    int confirmMs = 3000;            // L_Data.con after the acknowledgement
    int connectMs = 10000;           // CONNECT_RESPONSE
    int connectRepeatMs = 2000;      // the connect request goes again while none came
    int heartbeatMs = 60000;         // CONNECTIONSTATE_REQUEST while the tunnel is quiet
    int connectionStateMs = 10000;   // CONNECTIONSTATE_RESPONSE, three tries
    int transportAckMs = 3000;       // the device's T_ACK, up to three repeats
    int disconnectResponseMs = 1000; // DISCONNECT_RESPONSE, three tries

    static KnxIpTimings fast()
    {
        KnxIpTimings t;
        t.tunnellingAckMs = 100;
        t.confirmMs = 300;
        t.connectMs = 1000;
        t.connectRepeatMs = 200;
        t.heartbeatMs = 6000;
        t.connectionStateMs = 1000;
        t.transportAckMs = 300;
        t.disconnectResponseMs = 100;
        return t;
    }
};

// The bus library over a KNXnet/IP tunnel to an IP interface (or to knxd, which offers one for
// USB and other interfaces). install() opens the tunnel connection and close() ends it; the
// frames the bus link hands over are carried as the coupling unit would carry them:
//   - connect 23 / disconnect 24 become T_CONNECT / T_DISCONNECT to the device, data on the
//     connection 21 a numbered T_DATA_CONNECTED, acknowledged by the device's T_ACK (repeated up
//     to three times, at once on a T_NAK); what the device sends on the connection comes back
//     as data from the device 39, acknowledged with T_ACK;
//   - the coupling unit's own local memory (read 4C / write 46) has no counterpart on a tunnel:
//     it is kept here, all zero at the start, so the address table length reads 0 and the link
//     neither cuts nor restores anything; resetting the coupling unit ends the transport
//     connection, changing its layer does nothing.
// A send counts as gone when the interface acknowledged the tunnelling request (repeated once)
// and confirmed the telegram on the bus (L_Data.con); a data telegram waiting only for the
// device's T_ACK does not hold the link up, as a coupling unit takes frames into its queue.
// Datagrams get lost on a busy wireless or VPN link: a request unacknowledged after its repeat
// goes again as a new one, and a confirmation that never came leaves the telegram to the
// transport layer's repeats; only several such in a row stop the link.
// A CONNECTIONSTATE request keeps the tunnel alive during long transfers and checks it when an
// acknowledgement is missing; keepAlive() answers the interface while the caller waits.
// Datagrams that are short, from another address, for another channel or out of sequence are
// dropped (a repeated one is acknowledged again).
class KnxIpBusLibrary final : public BusLibrary {
  public:
    enum Status : int {
        Ok = 0,
        NoInterface = 210, // the socket could not be opened
        Refused = 211,     // the interface refused the tunnel connection (its status code)
        Lost = 212,        // the interface ended the tunnel or no longer knows it
        NotInstalled = 213,
        BadFrame = 214,
        UnknownHost = 215, // the host name could not be resolved
        NotConfirmed = BusLibrary::NotConfirmed,
    };

    KnxIpBusLibrary(DatagramSocket &socket, EventPump &pump, QString host, std::uint16_t port,
                    KnxIpTimings timings = {});
    ~KnxIpBusLibrary() override;
    KnxIpBusLibrary(const KnxIpBusLibrary &) = delete;
    KnxIpBusLibrary &operator=(const KnxIpBusLibrary &) = delete;

    // "host" or "host:port" as typed; nullopt when the port is no number 1..65535.
    static std::optional<std::pair<QString, std::uint16_t>> ParseHost(const QString &text);

    int install(int portIndex, int baud, int sendTimeoutMs, int repeatMs, int flags) override;
    int resetTransport() override;
    int resetLocalBcu() override;
    int changeLayer(int layer) override;
    int send(const QByteArray &frame) override;
    int pollSend(int &queued, int &repeats, int &busy) override;
    int fetch(FetchBuffer &buffer) override;
    int close() override;
    QString lastErrorText() const override { return errorText_; }
    QString statusMessage(int status, int language) const override;
    int keepAlive() override;
    int sendTimeLimitMs() const override;
    int answerTimeLimitMs() const override;

    void setHeartbeatMs(int ms) { timings_.heartbeatMs = ms; }
    const KnxIpTimings &timings() const { return timings_; }
    bool tunnelOpen() const { return channel_ >= 0; }
    const QString &hostText() const { return hostText_; }

  private:
    struct Outgoing {
        QByteArray tpdu;
        int destination = 0;
        bool data = false;   // T_DATA_CONNECTED: waits for the device's T_ACK
        bool repeat = false; // a repetition of the telegram waiting for its T_ACK
    };
    int fail(int status, const QString &text);
    bool sendDatagram(const UdpEndpoint &to, const QByteArray &bytes);
    int poll();
    void receiveAll();
    void handle(const ReceivedDatagram &datagram);
    void handleTunnelling(const KnxIp::Datagram &d);
    void handleIndication(const Cemi::LData &f);
    void sendTunnelling(const QByteArray &tpdu, int destination);
    void drive(qint64 now);
    void queueTransport(const QByteArray &tpdu, bool data);
    void endTransportConnection();
    void checkConnection(qint64 now);
    void askState();
    void closeTunnel();
    void endTunnelWork(qint64 deadline);
    void unacknowledged();

    DatagramSocket &socket_;
    EventPump &pump_;
    QString host_;
    std::uint16_t port_;
    KnxIpTimings timings_;
    QString hostText_;
    QString errorText_;
    int failed_ = 0; // a status that ends every call until the tunnel is opened again
    int lastStatusCode_ = 0;

    UdpEndpoint control_, data_;
    int channel_ = -1;
    int individualAddress_ = 0;
    int sendSequence_ = 0; // of our tunnelling requests
    int expectedFromServer_ = 0;
    qint64 lastHeard_ = 0; // the interface last confirmed the tunnel's state
    qint64 stateAskedAt_ = -1;
    qint64 stateCycleStart_ = 0; // the first of the current questions went out
    qint64 heardInTunnel_ = -1;  // the interface last spoke in the tunnel
    int stateAsks_ = 0;

    // The telegram in the tunnel: sent, waiting for its TUNNELLING_ACK, then its L_Data.con.
    std::optional<Outgoing> inTunnel_;
    QByteArray inTunnelDatagram_;
    bool tunnelAcked_ = false;
    int tunnelRepeats_ = 0;
    int tunnelAttempts_ = 0; // requests of the telegram in the tunnel, each repeated once
    int guessedFrom_ = -1;   // the number of a request that went unacknowledged, else -1
    int missedConfirms_ = 0; // telegrams in a row whose L_Data.con never came
    bool closing_ = false;
    qint64 inTunnelSince_ = 0;
    std::deque<Outgoing> queue_;
    int unconfirmed_ = 0;

    // The transport connection to one device.
    int device_ = -1;
    int transportOut_ = 0; // sequence of our next T_DATA_CONNECTED
    int transportIn_ = 0;  // sequence expected from the device
    std::optional<Outgoing> awaitingAck_;
    int transportRepeats_ = 0;
    qint64 awaitingSince_ = 0;

    std::deque<QByteArray> received_; // frames for fetch(), length byte first
    std::array<std::uint8_t, 512> localMemory_{};
};

} // namespace zx
