#include "app/CompareBusDialog.h"

#include "app/AppContext.h"
#include "app/ComparisonTexts.h"
#include "bus/BusInterfaceBox.h"
#include "bus/BusSession.h"
#include "bus/BusVerify.h"
#include "i18n/Msg.h"
#include "model/Model.h"
#include "platform/Prompter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace zx {

namespace {
// The address compared last, offered at the next opening.
const QString AddressKey = QStringLiteral("Bus/compareAddress");
} // namespace

CompareBusDialog::CompareBusDialog(AppContext &context, std::function<void(const Model &)> compare,
                                   QWidget *parent)
    : BusOperationDialog(context, parent), compare_(std::move(compare))
{
    const Catalogue &c = ctx_.model.catalogue;
    const int sprache = ctx_.model.device.Sprache;
    setObjectName(QStringLiteral("frmVergleichBus"));

    port_ = new BusInterfaceBox(ctx_, this);

    auto *addressRow = new QHBoxLayout;
    address_ = new QLineEdit(this);
    address_->setObjectName(QStringLiteral("txtPhysadr"));
    address_->setPlaceholderText(QStringLiteral("1.1.1"));
    address_->setText(
        QSettings(QStringLiteral("Zentrix"), QStringLiteral("Zentrix")).value(AddressKey).toString());
    auto *addressLabel = new QLabel(c(Msg::PhysicalAddress), this);
    addressLabel->setBuddy(address_);
    addressRow->addWidget(addressLabel);
    addressRow->addWidget(address_, 1);

    read_ = new QPushButton(compareText(CompareText::ReadCompare, sprache), this);
    read_->setObjectName(QStringLiteral("cmdVergleichen"));
    cancel_ = new QPushButton(c(Msg::Cancel), this);
    cancel_->setObjectName(QStringLiteral("cmdAbbrechen"));
    // Enter in the address field must never start a transfer.
    read_->setAutoDefault(false);
    cancel_->setAutoDefault(false);

    QLayout *statusRow = this->statusRow();
    statusRow->addWidget(read_);
    statusRow->addWidget(cancel_);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(port_);
    layout->addLayout(addressRow);
    layout->addWidget(gauge_);
    layout->addLayout(statusRow);

    connect(read_, &QPushButton::clicked, this, &CompareBusDialog::readAndCompare);
    connect(cancel_, &QPushButton::clicked, this, &CompareBusDialog::reject);
}

void CompareBusDialog::setLibraryFactory(std::function<std::unique_ptr<BusLibrary>(int)> factory)
{
    port_->setSerialFactory(std::move(factory));
}

void CompareBusDialog::setRunning(bool running)
{
    BusOperationDialog::setRunning(running);
    port_->setRunning(running);
    for (QWidget *w : std::initializer_list<QWidget *>{address_, read_, cancel_})
        w->setEnabled(!running);
}

void CompareBusDialog::readAndCompare()
{
    if (running_)
        return;
    const auto address = physicalAddress(address_);
    if (!address)
        return;
    QSettings(QStringLiteral("Zentrix"), QStringLiteral("Zentrix"))
        .setValue(AddressKey, address_->text().trimmed());
    Model device = ctx_.model;
    BusResult r;
    const bool ran = runOnBus(
        *port_, [&](BusEnvironment &env, int com) { r = ReadBusDocument(env, com, *address, device); });
    if (!ran)
        return;
    status_->setText(ctx_.model.catalogue(r.ok() ? Msg::Ok : Msg::NotSuccessful));
    if (!r.ok()) {
        ReportBusError(ctx_.prompter, r);
        return;
    }
    accept();
    if (compare_)
        compare_(device);
}

} // namespace zx
