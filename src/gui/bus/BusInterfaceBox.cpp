#include "bus/BusInterfaceBox.h"

#include "app/AppContext.h"
#include "bus/BusInterfaceChoice.h"
#include "bus/BusTexts.h"
#include "bus/Ft12BusLibrary.h"
#include "bus/KnxIpBusLibrary.h"
#include "i18n/Msg.h"
#include "model/Model.h"
#include "platform/ComPortMap.h"
#include "platform/Prompter.h"
#include "platform/QtSerialPort.h"
#include "platform/UdpSocket.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace zx {

namespace {

// A library that hands every call to another one.
class ForwardingBusLibrary : public BusLibrary {
  public:
    explicit ForwardingBusLibrary(BusLibrary &inner) : inner_(inner) {}
    int install(int p, int b, int s, int r, int f) override { return inner_.install(p, b, s, r, f); }
    int resetTransport() override { return inner_.resetTransport(); }
    int resetLocalBcu() override { return inner_.resetLocalBcu(); }
    int changeLayer(int layer) override { return inner_.changeLayer(layer); }
    int send(const QByteArray &frame) override { return inner_.send(frame); }
    int pollSend(int &q, int &r, int &b) override { return inner_.pollSend(q, r, b); }
    int fetch(FetchBuffer &buffer) override { return inner_.fetch(buffer); }
    int close() override { return inner_.close(); }
    QString lastErrorText() const override { return inner_.lastErrorText(); }
    QString statusMessage(int status, int language) const override
    {
        return inner_.statusMessage(status, language);
    }
    int keepAlive() override { return inner_.keepAlive(); }
    int sendTimeLimitMs() const override { return inner_.sendTimeLimitMs(); }
    int answerTimeLimitMs() const override { return inner_.answerTimeLimitMs(); }

  private:
    BusLibrary &inner_;
};

// The serial port and the FT1.2 library over it; a base of SerialBusLibrary so that both
// exist before the forwarding starts and outlive it.
struct SerialParts {
    SerialParts(EventPump &pump, const QString &device)
        : library(port, pump, [device](int) { return device; })
    {
    }
    QtSerialPort port;
    Ft12BusLibrary library;
};

// The library over the real serial port, owning it.
class SerialBusLibrary final : private SerialParts, public ForwardingBusLibrary {
  public:
    SerialBusLibrary(EventPump &pump, const QString &device)
        : SerialParts(pump, device), ForwardingBusLibrary(SerialParts::library)
    {
    }
};

// The socket and the tunnel over it, declared in this order: the library closes the tunnel
// through the socket.
struct TunnelParts {
    TunnelParts(EventPump &pump, const QString &host, std::uint16_t port) : library(socket, pump, host, port)
    {
    }
    UdpSocket socket;
    KnxIpBusLibrary library;
};

// The library over a tunnel to an IP interface, owning its socket.
class TunnelBusLibrary final : private TunnelParts, public ForwardingBusLibrary {
  public:
    TunnelBusLibrary(EventPump &pump, const QString &host, std::uint16_t port)
        : TunnelParts(pump, host, port), ForwardingBusLibrary(TunnelParts::library)
    {
    }
};

} // namespace

BusInterfaceBox::BusInterfaceBox(AppContext &context, QWidget *parent)
    : QGroupBox(context.model.catalogue(Msg::InterfaceForBusAccess), parent), ctx_(context)
{
    const Catalogue &c = ctx_.model.catalogue;
    const int sprache = ctx_.model.device.Sprache;
    auto *row = new QHBoxLayout(this);
    row->addWidget(new QLabel(c(Msg::SerielPort), this));
    com1_ = new QRadioButton(c(Msg::Com1), this);
    com1_->setObjectName(QStringLiteral("optcom1"));
    com2_ = new QRadioButton(c(Msg::Com2), this);
    com2_->setObjectName(QStringLiteral("optcom2"));
    ip_ = new QRadioButton(busText(BusText::IpInterface, sprache), this);
    ip_->setObjectName(QStringLiteral("optip"));
    host_ = new QLineEdit(this);
    host_->setObjectName(QStringLiteral("txtIpHost"));
    host_->setPlaceholderText(QStringLiteral("192.168.1.20:3671"));
    auto *hostLabel = new QLabel(busText(BusText::HostField, sprache), this);
    hostLabel->setBuddy(host_);
    const ComPortMap ports(ctx_.workDir);
    com1_->setToolTip(ports.device(1));
    com2_->setToolTip(ports.device(2));
    row->addWidget(com1_);
    row->addWidget(com2_);
    row->addWidget(ip_);
    row->addWidget(hostLabel);
    row->addWidget(host_, 1);
    // The way to the bus chosen last time.
    const BusInterfaceChoice choice = BusInterfaceChoice::Load(ctx_.workDir);
    host_->setText(choice.host);
    (choice.kind == BusInterfaceChoice::Kind::Ip     ? ip_
     : choice.kind == BusInterfaceChoice::Kind::Com2 ? com2_
                                                     : com1_)
        ->setChecked(true);

    serialFactory_ = [this](int index) -> std::unique_ptr<BusLibrary> {
        return std::make_unique<SerialBusLibrary>(ctx_.pump, ComPortMap(ctx_.workDir).device(index + 1));
    };
    host_->setEnabled(ip_->isChecked());
    connect(ip_, &QRadioButton::toggled, host_, &QLineEdit::setEnabled);
}

int BusInterfaceBox::comIndex() const
{
    return com2_->isChecked() ? 1 : 0;
}

void BusInterfaceBox::setRunning(bool running)
{
    for (QWidget *w : std::initializer_list<QWidget *>{com1_, com2_, ip_})
        w->setEnabled(!running);
    host_->setEnabled(!running && ip_->isChecked());
}

std::unique_ptr<BusLibrary> BusInterfaceBox::makeLibrary(QString *portName)
{
    rememberChoice();
    if (!ip_->isChecked())
        return serialFactory_(comIndex());
    const auto host = KnxIpBusLibrary::ParseHost(host_->text());
    if (!host) {
        ctx_.prompter.tell(busText(BusText::NoValidHost, ctx_.model.device.Sprache).arg(host_->text()),
                           Icon::Critical);
        host_->setFocus();
        return nullptr;
    }
    auto library = std::make_unique<TunnelBusLibrary>(ctx_.pump, host->first, host->second);
    *portName = host->second == KnxIp::DefaultPort ? host->first
                                                   : host->first + QStringLiteral(":%1").arg(host->second);
    return library;
}

void BusInterfaceBox::rememberChoice()
{
    BusInterfaceChoice choice;
    choice.kind = ip_->isChecked()     ? BusInterfaceChoice::Kind::Ip
                  : com2_->isChecked() ? BusInterfaceChoice::Kind::Com2
                                       : BusInterfaceChoice::Kind::Com1;
    choice.host = host_->text().trimmed();
    // A choice that cannot be kept costs only the next opening's default.
    choice.save(ctx_.workDir);
}

} // namespace zx
