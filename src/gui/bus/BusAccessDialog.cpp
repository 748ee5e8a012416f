#include "bus/BusAccessDialog.h"

#include "app/AppContext.h"
#include "app/UnsavedChanges.h"
#include "bus/BusAddress.h"
#include "bus/BusInterfaceBox.h"
#include "bus/BusOperationDialog.h"
#include "bus/BusOperations.h"
#include "bus/BusProgressView.h"
#include "bus/BusSession.h"
#include "bus/BusTexts.h"
#include "bus/BusVerify.h"
#include "i18n/Msg.h"
#include "model/ListOrder.h"
#include "model/Model.h"
#include "platform/BusLibrary.h"
#include "platform/Prompter.h"
#include "transfer/TransferCommands.h"

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
#include <QVBoxLayout>

namespace zx {

BusAccessDialog::BusAccessDialog(AppContext &context, std::function<bool()> save, QWidget *parent)
    : BusOperationDialog(context, parent), save_(std::move(save))
{
    const Catalogue &c = ctx_.model.catalogue;
    setObjectName(QStringLiteral("FrmBusaccess"));
    setWindowTitle(c(Msg::BusAccessToTimer));

    port_ = new BusInterfaceBox(ctx_, this);

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

    QLayout *statusRow = this->statusRow();
    exit_ = new QPushButton(c(Msg::BtnExit), this);
    exit_->setObjectName(QStringLiteral("cmdBusend"));
    statusRow->addWidget(exit_);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(port_);
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
}

BusAccessDialog::~BusAccessDialog() = default;

void BusAccessDialog::setLibraryFactory(std::function<std::unique_ptr<BusLibrary>(int)> factory)
{
    port_->setSerialFactory(std::move(factory));
}

int BusAccessDialog::comIndex() const
{
    return port_->comIndex();
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
    BusOperationDialog::setRunning(running);
    for (QWidget *w : std::initializer_list<QWidget *>{area_, line_, fromDevice_, toDevice_, search_, found_,
                                                       address_, program_, read_, reinstall_, exit_})
        w->setEnabled(!running);
    port_->setRunning(running);
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
    auto library = port_->makeLibrary(&portName);
    if (!library)
        return;
    found_->clear();
    setRunning(true);
    BusProgressView progress(status_, gauge_);
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

void BusAccessDialog::run(BusCommand command, int address)
{
    BusResult r;
    bool verifying = false;
    bool verified = true;
    const bool ran = runOnBus(*port_, [&](BusEnvironment &env, int com) {
        r = RunBusCommand(env, command, com, address);
        verifying = command == BusCommand::Program && r.ok() && verifyAfterWrite(ctx_.model);
        verified = !verifying || VerifyBusWrite(env, com, address);
    });
    if (!ran)
        return;
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
    const auto address = physicalAddress(address_);
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
    const auto address = physicalAddress(address_);
    if (!address)
        return;
    if (!SaveChangesFirst(ctx_.model, ctx_.prompter, save_, QuestionEnding::Wide))
        return;
    run(BusCommand::Read, *address);
}

void BusAccessDialog::reinstall()
{
    if (running_)
        return;
    const auto address = physicalAddress(address_);
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
    BusOperationDialog::reject();
}

} // namespace zx
