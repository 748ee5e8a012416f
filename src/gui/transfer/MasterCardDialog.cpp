#include "transfer/MasterCardDialog.h"

#include "model/Model.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zx {

MasterCardDialog::MasterCardDialog(Model &model, Prompter &prompter, const Clock &clock,
                                   std::function<void()> refreshStatus, QWidget *parent)
    : QDialog(parent), model_(model), prompter_(prompter), clock_(clock),
      refreshStatus_(std::move(refreshStatus))
{
    // The form speaks the manufacturer's language whatever the interface language is.
    setObjectName(QStringLiteral("FrmMaster"));
    setWindowTitle(QStringLiteral("Codierung"));
    setModal(false);

    auto *grid = new QGridLayout(this);
    grid->addWidget(optionPair("fraZeitbasis", QStringLiteral("Zeitbasis"), DeviceOption::RadioSync,
                               "optfunk", QStringLiteral("Funk"), "optquart", QStringLiteral("Quarz")),
                    0, 0);
    grid->addWidget(optionPair("fraSprache", QStringLiteral("Sprache"), DeviceOption::GermanDisplay,
                               "optgerman", QStringLiteral("Deutsch"), "optfranz",
                               QStringLiteral("Französisch")),
                    0, 1);
    grid->addWidget(optionPair("fraDatumsformat", QStringLiteral("Datumsformat"), DeviceOption::EuroDate,
                               "optEurodat", QStringLiteral("Euro"), "optUSAdat", QStringLiteral("USA")),
                    1, 0);
    grid->addWidget(optionPair("fraNak", QStringLiteral("Basisstrom bei NAK"), DeviceOption::NakOff,
                               "optNakoff", QStringLiteral("abschalten"), "optNAKON",
                               QStringLiteral("anlassen")),
                    1, 1);
    grid->addWidget(optionPair("fraDauerschaltung", QStringLiteral("Dauerschaltung"),
                               DeviceOption::KeyPermanent, "optDautast", QStringLiteral("über Tastatur"),
                               "optDauschalt", QStringLiteral("über Schalter")),
                    2, 0);
    grid->addWidget(masterCardGroup(), 2, 1);
    grid->addWidget(optionBitsGroup(), 3, 0, 1, 2);
}

QGroupBox *MasterCardDialog::optionPair(const char *frameName, const QString &caption, DeviceOption option,
                                        const char *firstName, const QString &first, const char *secondName,
                                        const QString &second)
{
    auto *box = new QGroupBox(caption, this);
    box->setObjectName(QLatin1String(frameName));
    auto *on = new QRadioButton(first, box);
    auto *off = new QRadioButton(second, box);
    on->setObjectName(QLatin1String(firstName));
    off->setObjectName(QLatin1String(secondName));
    (OptionValue(model_, option) ? on : off)->setChecked(true);
    connect(on, &QRadioButton::clicked, this, [this, option] { choose(option, true); });
    connect(off, &QRadioButton::clicked, this, [this, option] { choose(option, false); });
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(on);
    layout->addWidget(off);
    return box;
}

QGroupBox *MasterCardDialog::masterCardGroup()
{
    QGroupBox *box =
        optionPair("fraMastercard", QStringLiteral("Mastercard"), DeviceOption::MasterCard, "optmastercard",
                   QStringLiteral("Mastercard"), "optprogcard", QStringLiteral("Progcard"));
    auto *closeButton = new QPushButton(QStringLiteral("Eishockey"), box);
    closeButton->setObjectName(QStringLiteral("cmdmachmstr"));
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    box->layout()->addWidget(closeButton);
    return box;
}

QGroupBox *MasterCardDialog::optionBitsGroup()
{
    static const char *const captions[8] = {"EIB TP", "Bit 1", "Bit2", "Bit 3",
                                            "IR",     "Bit5",  "Bit6", "bistabil"};
    auto *box = new QGroupBox(QStringLiteral("$12"), this);
    box->setObjectName(QStringLiteral("fraOptionBits"));
    auto *layout = new QGridLayout(box);
    for (int k = 0; k < 8; ++k) {
        auto *check = new QCheckBox(QString::fromUtf8(captions[k]), box);
        check->setObjectName(QStringLiteral("Check%1").arg(k + 1));
        const bool set = (model_.device.MasterCardOptions >> k) & 1;
        bitValues_[k] = set ? (1 << k) : 0;
        check->setChecked(set);
        connect(check, &QCheckBox::clicked, this, [this, k](bool checked) { toggleBit(k, checked); });
        layout->addWidget(check, k / 4, k % 4);
    }
    return box;
}

void MasterCardDialog::choose(DeviceOption option, bool on)
{
    SetDeviceOption(model_, prompter_, clock_, option, on);
    if (refreshStatus_)
        refreshStatus_();
}

void MasterCardDialog::toggleBit(int k, bool checked)
{
    bitValues_[k] = checked ? (1 << k) : 0;
    int bits = 0;
    for (const int v : bitValues_)
        bits += v;
    SetMasterCardOptions(model_, prompter_, clock_, bits);
    if (refreshStatus_)
        refreshStatus_();
}

} // namespace zx
