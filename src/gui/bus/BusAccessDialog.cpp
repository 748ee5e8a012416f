#include "bus/BusAccessDialog.h"

#include "app/AppContext.h"
#include "bus/BusAddress.h"
#include "bus/BusInterfaceChoice.h"
#include "bus/BusOperations.h"
#include "bus/BusSession.h"
#include "bus/BusTexts.h"
#include "bus/BusVerify.h"
#include "bus/Ft12BusLibrary.h"
#include "bus/KnxIpBusLibrary.h"
#include "i18n/Msg.h"
#include "model/ListOrder.h"
#include "model/Model.h"
#include "platform/ComPortMap.h"
#include "platform/Prompter.h"
#include "platform/QtSerialPort.h"
#include "platform/UdpSocket.h"
#include "transfer/TransferCommands.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zx {

namespace {

// The library over the real serial port, owning it.
class SerialBusLibrary final : public BusLibrary {
  public:
    SerialBusLibrary(EventPump &pump, const QString &device)
        : library_(port_, pump, [device](int) { return device; })
    {
    }
    int install(int p, int b, int s, int r, int f) override { return library_.install(p, b, s, r, f); }
    int resetTransport() override { return library_.resetTransport(); }
    int resetLocalBcu() override { return library_.resetLocalBcu(); }
    int changeLayer(int layer) override { return library_.changeLayer(layer); }
    int send(const QByteArray &frame) override { return library_.send(frame); }
    int pollSend(int &q, int &r, int &b) override { return library_.pollSend(q, r, b); }
    int fetch(FetchBuffer &buffer) override { return library_.fetch(buffer); }
    int close() override { return library_.close(); }
    QString lastErrorText() const override { return library_.lastErrorText(); }

  private:
    QtSerialPort port_;
    Ft12BusLibrary library_;
};

// The library over a tunnel to an IP interface, owning its socket.
class TunnelBusLibrary final : public BusLibrary {
  public:
    TunnelBusLibrary(EventPump &pump, const QString &host, std::uint16_t port)
        : library_(socket_, pump, host, port)
    {
    }
    int install(int p, int b, int s, int r, int f) override { return library_.install(p, b, s, r, f); }
    int resetTransport() override { return library_.resetTransport(); }
    int resetLocalBcu() override { return library_.resetLocalBcu(); }
    int changeLayer(int layer) override { return library_.changeLayer(layer); }
    int send(const QByteArray &frame) override { return library_.send(frame); }
    int pollSend(int &q, int &r, int &b) override { return library_.pollSend(q, r, b); }
    int fetch(FetchBuffer &buffer) override { return library_.fetch(buffer); }
    int close() override { return library_.close(); }
    QString lastErrorText() const override { return library_.lastErrorText(); }
    QString statusMessage(int status, int language) const override
    {
        return library_.statusMessage(status, language);
    }

  private:
    UdpSocket socket_; // declared first: the library closes the tunnel through it
    KnxIpBusLibrary library_;
};

} // namespace

// The step in the status line and the gauge.
class BusAccessDialog::Progress final : public BusProgress {
  public:
    Progress(QLabel *status, QProgressBar *gauge) : status_(status), gauge_(gauge) {}
    void setStep(const QString &text) override { status_->setText(text.trimmed()); }
    void setGauge(int value, int maximum) override
    {
        gauge_->setMaximum(std::max(1, maximum));
        gauge_->setValue(std::min(value, gauge_->maximum()));
    }

  private:
    QLabel *status_;
    QProgressBar *gauge_;
};

BusAccessDialog::BusAccessDialog(AppContext &context, std::function<bool()> save, QWidget *parent)
    : QDialog(parent), ctx_(context), save_(std::move(save))
{
    const Catalogue &c = ctx_.model.catalogue;
    setObjectName(QStringLiteral("FrmBusaccess"));
    setWindowTitle(c(Msg::BusAccessToTimer));

    auto *port = new QGroupBox(c(Msg::InterfaceForBusAccess), this);
    auto *portRow = new QHBoxLayout(port);
    portRow->addWidget(new QLabel(c(Msg::SerielPort), port));
    com1_ = new QRadioButton(c(Msg::Com1), port);
    com1_->setObjectName(QStringLiteral("optcom1"));
    com2_ = new QRadioButton(c(Msg::Com2), port);
    com2_->setObjectName(QStringLiteral("optcom2"));
    const int sprache = ctx_.model.device.Sprache;
    ip_ = new QRadioButton(busText(BusText::IpInterface, sprache), port);
    ip_->setObjectName(QStringLiteral("optip"));
    host_ = new QLineEdit(port);
    host_->setObjectName(QStringLiteral("txtIpHost"));
    host_->setPlaceholderText(QStringLiteral("192.168.1.20:3671"));
    auto *hostLabel = new QLabel(busText(BusText::HostField, sprache), port);
    hostLabel->setBuddy(host_);
    const ComPortMap ports(ctx_.workDir);
    com1_->setToolTip(ports.device(1));
    com2_->setToolTip(ports.device(2));
    portRow->addWidget(com1_);
    portRow->addWidget(com2_);
    portRow->addWidget(ip_);
    portRow->addWidget(hostLabel);
    portRow->addWidget(host_, 1);
    // The way to the bus chosen last time.
    const BusInterfaceChoice choice = BusInterfaceChoice::Load(ctx_.workDir);
    host_->setText(choice.host);
    (choice.kind == BusInterfaceChoice::Kind::Ip     ? ip_
     : choice.kind == BusInterfaceChoice::Kind::Com2 ? com2_
                                                     : com1_)
        ->setChecked(true);

    auto *searchBox = new QGroupBox(c(Msg::SearchTimer), this);
    auto *searchGrid = new QGridLayout(searchBox);
    auto field = [&](const char *name, int caption, int row, int column, int kind) {
        auto *edit = new QLineEdit(searchBox);
        edit->setObjectName(QLatin1String(name));
        edit->setMaxLength(5);
        edit->setText(QStringLiteral("0"));
        auto *label = new QLabel(c(caption), searchBox);
        label->setBuddy(edit);
        searchGrid->addWidget(label, row, column);
        searchGrid->addWidget(edit, row, column + 1);
        connect(edit, &QLineEdit::textEdited, this, [this, edit, kind] { checkField(edit, kind); });
        return edit;
    };
    area_ = field("txtBereich", Msg::Area, 0, 0, int(BusField::Area));
    line_ = field("txtBuslinie", Msg::Line, 1, 0, int(BusField::Line));
    fromDevice_ = field("txtvonTeilnehmer", Msg::FromDevice, 0, 2, int(BusField::FromDevice));
    toDevice_ = field("txtbisTeilnehmer", Msg::ToDevice, 1, 2, int(BusField::ToDevice));
    area_->setText(QStringLiteral("1"));
    line_->setText(QStringLiteral("1"));
    fromDevice_->setText(QStringLiteral("1"));
    toDevice_->setText(QStringLiteral("10"));
    search_ = new QPushButton(c(Msg::StartSearch), searchBox);
    search_->setObjectName(QStringLiteral("cmdSuchen"));
    searchGrid->addWidget(search_, 0, 4, 2, 1);
    found_ = new QComboBox(searchBox);
    found_->setObjectName(QStringLiteral("cboPhysadr"));
    auto *foundLabel = new QLabel(c(Msg::ResultOfSearch), searchBox);
    foundLabel->setBuddy(found_);
    searchGrid->addWidget(foundLabel, 2, 0, 1, 2);
    searchGrid->addWidget(found_, 2, 2, 1, 3);

    auto *exchange = new QGroupBox(c(Msg::ExchangeTimeSwitchProgramWith), this);
    auto *exchangeGrid = new QGridLayout(exchange);
    address_ = new QLineEdit(exchange);
    address_->setObjectName(QStringLiteral("txtPhysadr"));
    address_->setPlaceholderText(QStringLiteral("1.1.1"));
    auto *addressLabel = new QLabel(c(Msg::PhysicalAddress), exchange);
    addressLabel->setBuddy(address_);
    exchangeGrid->addWidget(addressLabel, 0, 0);
    exchangeGrid->addWidget(address_, 0, 1, 1, 2);
    program_ = new QPushButton(c(Msg::Program), exchange);
    program_->setObjectName(QStringLiteral("cmdbusprog"));
    read_ = new QPushButton(c(Msg::Read), exchange);
    read_->setObjectName(QStringLiteral("cmdbusread"));
    reinstall_ = new QPushButton(c(Msg::Reinstall), exchange);
    reinstall_->setObjectName(QStringLiteral("cmd_appl_reinstall"));
    exchangeGrid->addWidget(program_, 1, 0);
    exchangeGrid->addWidget(read_, 1, 1);
    exchangeGrid->addWidget(reinstall_, 1, 2);

    auto *statusRow = new QHBoxLayout;
    statusRow->addWidget(new QLabel(c(Msg::Status) + QStringLiteral(":"), this));
    status_ = new QLabel(c(Msg::ReadyToStart), this);
    status_->setObjectName(QStringLiteral("lblStatus"));
    status_->setMinimumWidth(260);
    statusRow->addWidget(status_, 1);
    gauge_ = new QProgressBar(this);
    gauge_->setObjectName(QStringLiteral("ggestatus"));
    gauge_->setTextVisible(false);
    gauge_->setValue(0);
    exit_ = new QPushButton(c(Msg::BtnExit), this);
    exit_->setObjectName(QStringLiteral("cmdBusend"));
    statusRow->addWidget(exit_);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(port);
    layout->addWidget(searchBox);
    layout->addWidget(exchange);
    layout->addWidget(gauge_);
    layout->addLayout(statusRow);

    connect(search_, &QPushButton::clicked, this, &BusAccessDialog::startSearch);
    connect(program_, &QPushButton::clicked, this, &BusAccessDialog::program);
    connect(read_, &QPushButton::clicked, this, &BusAccessDialog::read);
    connect(reinstall_, &QPushButton::clicked, this, &BusAccessDialog::reinstall);
    connect(exit_, &QPushButton::clicked, this, &BusAccessDialog::reject);
    connect(found_, &QComboBox::textActivated, address_, &QLineEdit::setText);
    connect(found_, &QComboBox::currentTextChanged, address_, &QLineEdit::setText);
    // Enter in a field must never start a transfer.
    for (QPushButton *b : {program_, read_, reinstall_, search_, exit_})
        b->setAutoDefault(false);

    libraryFactory_ = [this](int index) -> std::unique_ptr<BusLibrary> {
        return std::make_unique<SerialBusLibrary>(ctx_.pump, ComPortMap(ctx_.workDir).device(index + 1));
    };
    host_->setEnabled(ip_->isChecked());
    connect(ip_, &QRadioButton::toggled, host_, &QLineEdit::setEnabled);
}

BusAccessDialog::~BusAccessDialog() = default;

void BusAccessDialog::setLibraryFactory(std::function<std::unique_ptr<BusLibrary>(int)> factory)
{
    libraryFactory_ = std::move(factory);
}

int BusAccessDialog::comIndex() const
{
    return com2_->isChecked() ? 1 : 0;
}

void BusAccessDialog::checkField(QLineEdit *field, int kind)
{
    const BusFieldCheck check = CheckBusField(static_cast<BusField>(kind), field->text());
    if (check.beep)
        ctx_.prompter.beep();
    if (field->text() != check.text)
        field->setText(check.text);
}

void BusAccessDialog::setRunning(bool running)
{
    running_ = running;
    for (QWidget *w :
         std::initializer_list<QWidget *>{com1_, com2_, ip_, area_, line_, fromDevice_, toDevice_, search_,
                                          found_, address_, program_, read_, reinstall_, exit_})
        w->setEnabled(!running);
    host_->setEnabled(!running && ip_->isChecked());
}

void BusAccessDialog::startSearch()
{
    if (running_)
        return;
    const int area = CheckBusField(BusField::Area, area_->text()).value;
    const int line = CheckBusField(BusField::Line, line_->text()).value;
    const int from = CheckBusField(BusField::FromDevice, fromDevice_->text()).value;
    const int to = CheckBusField(BusField::ToDevice, toDevice_->text()).value;
    QString portName;
    auto library = makeLibrary(&portName);
    if (!library)
        return;
    found_->clear();
    setRunning(true);
    Progress progress(status_, gauge_);
    BusEnvironment env{*library,     ctx_.pump, ctx_.clock, ctx_.model, ctx_.prompter,
                       ctx_.workDir, timings_,  &progress,  portName};
    int done = 0;
    const BusSearchResult r =
        SearchBusDevices(env, comIndex(), area, line, from, to, [&](const QString &text) {
            status_->setText(text);
            progress.setGauge(++done, std::max(1, to - from + 1));
        });
    // The found addresses go in without copying the first into the address field: the user
    // picks one.
    {
        const QSignalBlocker block(found_);
        found_->addItems(r.found);
    }
    setRunning(false);
    status_->setText(ctx_.model.catalogue(r.ok() ? Msg::Ok : Msg::NotSuccessful));
    if (!r.found.isEmpty())
        address_->setText(r.found.first());
    ReportBusError(ctx_.prompter, r);
}

std::optional<int> BusAccessDialog::physicalAddress()
{
    const auto address = ParsePhysicalAddress(address_->text());
    if (!address) {
        ctx_.prompter.tell(ctx_.model.catalogue(Msg::NoValidPhysicalAdress), Icon::Critical);
        address_->setFocus();
    }
    return address;
}

std::unique_ptr<BusLibrary> BusAccessDialog::makeLibrary(QString *portName)
{
    rememberChoice();
    if (!ip_->isChecked())
        return libraryFactory_(comIndex());
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

void BusAccessDialog::rememberChoice()
{
    BusInterfaceChoice choice;
    choice.kind = ip_->isChecked()     ? BusInterfaceChoice::Kind::Ip
                  : com2_->isChecked() ? BusInterfaceChoice::Kind::Com2
                                       : BusInterfaceChoice::Kind::Com1;
    choice.host = host_->text().trimmed();
    // A choice that cannot be kept costs only the next opening's default.
    choice.save(ctx_.workDir);
}

void BusAccessDialog::run(BusCommand command, int address)
{
    QString portName;
    auto library = makeLibrary(&portName);
    if (!library)
        return;
    setRunning(true);
    gauge_->setValue(0);
    Progress progress(status_, gauge_);
    BusEnvironment env{*library,     ctx_.pump, ctx_.clock, ctx_.model, ctx_.prompter,
                       ctx_.workDir, timings_,  &progress,  portName};
    const BusResult r = RunBusCommand(env, command, comIndex(), address);
    const bool verifying = command == BusCommand::Program && r.ok() && verifyAfterWrite(ctx_.model);
    const bool verified = !verifying || VerifyBusWrite(env, comIndex(), address);
    setRunning(false);
    status_->setText(ctx_.model.catalogue(r.ok() && verified ? Msg::Ok : Msg::NotSuccessful));
    ReportBusError(ctx_.prompter, r);
    // A finished transfer says so as plainly as a failed one; a verified write has said so already.
    if (r.ok() && !verifying)
        ctx_.prompter.tell(ctx_.model.catalogue(Msg::AccessToZentrixFinished), Icon::Information);
    if (command == BusCommand::Read && r.ok())
        Q_EMIT listChanged();
}

void BusAccessDialog::program()
{
    if (running_)
        return;
    const auto address = physicalAddress();
    if (!address)
        return;
    // The device receives the saved program.
    if (ctx_.model.Modified != 0) {
        if (ctx_.prompter.ask(ctx_.model.catalogue(Msg::YouCanOnlyExportSaved), Buttons::OkCancel) !=
            Answer::Ok)
            return;
        if (!save_ || !save_())
            return;
    }
    run(BusCommand::Program, *address);
}

void BusAccessDialog::read()
{
    if (running_)
        return;
    const auto address = physicalAddress();
    if (!address)
        return;
    if (ctx_.model.Modified != 0) {
        const Answer a = ctx_.prompter.ask(ctx_.model.catalogue(Msg::SaveChangesIn) +
                                               ctx_.model.program().FileName + QStringLiteral("  ?"),
                                           Buttons::YesNoCancel);
        if (a == Answer::Cancel)
            return;
        if (a == Answer::Yes && (!save_ || !save_()))
            return;
    }
    run(BusCommand::Read, *address);
}

void BusAccessDialog::reinstall()
{
    if (running_)
        return;
    const auto address = physicalAddress();
    if (!address)
        return;
    run(BusCommand::Reinstall, *address);
}

void BusAccessDialog::finishAndClose()
{
    // What a read brought in is counted, put into display order and shown.
    Model &m = ctx_.model;
    m.recount(SetProgram);
    SortRecords(m, DisplayOrder, SetProgram);
    Q_EMIT listChanged();
}

void BusAccessDialog::reject()
{
    if (running_)
        return;
    finishAndClose();
    QDialog::reject();
}

void BusAccessDialog::closeEvent(QCloseEvent *event)
{
    if (running_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace zx
