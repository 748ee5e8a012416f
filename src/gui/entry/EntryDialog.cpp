#include "entry/EntryDialog.h"

#include "app/AppContext.h"
#include "entry/AutomationDialog.h"
#include "entry/EntryControls.h"
#include "entry/EntryDeviceRules.h"
#include "entry/EntryStore.h"
#include "entry/RunTitle.h"
#include "entry/TypedFieldControl.h"
#include "model/ListOrder.h"
#include "model/Model.h"
#include "platform/Mnemonics.h"
#include "platform/Prompter.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include <exception>

namespace zx {

EntryDialog::EntryDialog(AppContext &ctx, int listView, const SharedNames &names, QWidget *parent)
    : QDialog(parent), ctx_(ctx), listView_(listView), names_(names)
{
    setWindowModality(Qt::ApplicationModal);
    buildChannelControls(names.busInTwoColumns);
    buildSharedControls(names);
}

void EntryDialog::buildChannelControls(bool busInTwoColumns)
{
    for (int i = 0; i < 4; ++i) {
        channels_[i] = new QCheckBox(this);
        channels_[i]->setObjectName(QStringLiteral("chkKan%1").arg(i + 1));
        connect(channels_[i], &QCheckBox::clicked, this, [this, i](bool checked) {
            // some devices cannot switch certain channels with one entry (astro: 1 and 2)
            if (checked) {
                const int excluded = ChannelsExcludedBy(ctx_.model.device, i + 1);
                for (int other = 0; other < 4; ++other)
                    if ((excluded >> other) & 1)
                        channels_[other]->setChecked(false);
            }
            refreshColours();
        });
    }
    busFrame_ = new QGroupBox(this);
    busFrame_->setObjectName(QStringLiteral("fraEIB"));
    busGroup_ = new QButtonGroup(this);
    auto *grid = busInTwoColumns ? new QGridLayout(busFrame_) : nullptr;
    auto *row = busInTwoColumns ? nullptr : new QHBoxLayout(busFrame_);
    for (int i = 0; i < 8; ++i) {
        busChannels_[i] = new QRadioButton(busFrame_);
        busChannels_[i]->setObjectName(QStringLiteral("optkan%1").arg(i + 1));
        busGroup_->addButton(busChannels_[i], i + 1);
        if (grid)
            grid->addWidget(busChannels_[i], i % 4, i / 4);
        else
            row->addWidget(busChannels_[i]);
    }
    connect(busGroup_, &QButtonGroup::idClicked, this, [this] { refreshColours(); });
    onOffButton_ = new QPushButton(this);
    onOffButton_->setObjectName(QStringLiteral("cmdEinAus"));
    connect(onOffButton_, &QPushButton::clicked, this, [this] { setState(state_ ? 0 : 1); });
}

void EntryDialog::buildSharedControls(const SharedNames &names)
{
    okButton_ = new QPushButton(this);
    okButton_->setObjectName(QString::fromLatin1(names.ok));
    allButton_ = new QPushButton(this);
    allButton_->setObjectName(QStringLiteral("Cmdalleok"));
    exitButton_ = new QPushButton(this);
    exitButton_->setObjectName(QString::fromLatin1(names.exit));
    okMark_ = new QLabel(QStringLiteral("\u2714"), this);
    okMark_->setObjectName(QString::fromLatin1(names.mark));
    // The confirmation mark comes and goes after every OK: its place stays, so the dialog keeps
    // its size and its buttons stay where they are.
    QSizePolicy keep = okMark_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    okMark_->setSizePolicy(keep);
    okMark_->setStyleSheet(QStringLiteral("color: rgb(0, 160, 0); font-size: 20pt;"));
    okMark_->hide();
    connect(okButton_, &QPushButton::clicked, this, &EntryDialog::confirm);
    connect(allButton_, &QPushButton::clicked, this, &EntryDialog::onOkForAll);

    automationActive_ = new QCheckBox(this);
    automationActive_->setObjectName(QStringLiteral("Chkautopil"));
    newAutomationButton_ = new QPushButton(this);
    newAutomationButton_->setObjectName(QStringLiteral("cmdneuassi"));
    applyOnceButton_ = new QPushButton(this);
    applyOnceButton_->setObjectName(QStringLiteral("Cmd1xauto"));
    connect(automationActive_, &QCheckBox::toggled, this, [this](bool checked) {
        ctx_.model.automation.AutomationActive = checked ? 1 : 0;
        refreshAllButton();
    });
    connect(newAutomationButton_, &QPushButton::clicked, this, &EntryDialog::onNewAutomation);
    connect(applyOnceButton_, &QPushButton::clicked, this, [this] { applyIncrements(); });

    lastEntryFrame_ = new QGroupBox(this);
    lastEntryFrame_->setObjectName(QStringLiteral("fraold"));
    lastEntryUp_ = new QToolButton(lastEntryFrame_);
    lastEntryUp_->setObjectName(QString::fromLatin1(names.panelUp));
    lastEntryUp_->setArrowType(Qt::UpArrow);
    lastEntryDown_ = new QToolButton(lastEntryFrame_);
    lastEntryDown_->setObjectName(QString::fromLatin1(names.panelDown));
    lastEntryDown_->setArrowType(Qt::DownArrow);
    const int up = names.panelUpStep;
    connect(lastEntryUp_, &QToolButton::clicked, this, [this, up] { onStepPanel(up); });
    connect(lastEntryDown_, &QToolButton::clicked, this, [this, up] { onStepPanel(-up); });

    markTimer_ = new QTimer(this);
    markTimer_->setObjectName(QStringLiteral("Timer1"));
    markTimer_->setInterval(500);
    markTimer_->setSingleShot(true);
    connect(markTimer_, &QTimer::timeout, okMark_, &QLabel::hide);
    allTimer_ = new QTimer(this);
    allTimer_->setObjectName(QString::fromLatin1(names.allTimer));
    allTimer_->setInterval(20);
    connect(allTimer_, &QTimer::timeout, this, &EntryDialog::onAllTick);
}

void EntryDialog::setSharedCaptions()
{
    const Catalogue &c = ctx_.model.catalogue;
    for (int i = 0; i < 4; ++i)
        channels_[i]->setText(c(Msg::Channel1 + i));
    for (int i = 0; i < 8; ++i)
        busChannels_[i]->setText(c(Msg::Channel1 + i));
    okButton_->setText(c(Msg::Ok));
    allButton_->setText(c(Msg::AllButton));
    exitButton_->setText(c(Msg::BtnExit));
    automationActive_->setText(c(Msg::ActiveAfterInput));
    newAutomationButton_->setText(c(Msg::NewButton));
    applyOnceButton_->setText(c(Msg::DoIt));
    lastEntryFrame_->setTitle(c(Msg::AlreadyEntered));
    setState(state_);
}

void EntryDialog::setupChannels(const ChannelLayout &layout)
{
    const bool bus = layout.bus;
    busFrame_->setVisible(bus);
    setBusChannel(0);
    for (int i = 0; i < 8; ++i)
        busChannels_[i]->setVisible(bus && i < layout.channels);
    const int shown = bus ? 0 : layout.channels;
    for (int i = 0; i < 4; ++i) {
        channels_[i]->setVisible(i < shown);
        channels_[i]->setChecked(false);
        channels_[i]->setEnabled(true);
    }
    if (!bus) {
        channels_[0]->setChecked(layout.firstTicked);
        channels_[0]->setEnabled(!layout.firstLocked);
        // the meter pulse channel is never switched by a program
        if (layout.meterChannel > 0) {
            channels_[layout.meterChannel - 1]->setEnabled(false);
            channels_[layout.meterChannel - 1]->setChecked(false);
        }
    }
    onOffButton_->setVisible(!bus);
}

void EntryDialog::setBusChannel(int channel)
{
    busGroup_->setExclusive(false);
    for (int i = 0; i < 8; ++i)
        busChannels_[i]->setChecked(i + 1 == channel);
    busGroup_->setExclusive(true);
}

int EntryDialog::channelMask() const
{
    int mask = 0;
    for (int i = 0; i < 4; ++i)
        if (channels_[i]->isChecked() && !channels_[i]->isHidden())
            mask |= 1 << i;
    return mask;
}

int EntryDialog::busChannel() const
{
    return std::max(0, busGroup_->checkedId());
}

void EntryDialog::setState(int state)
{
    state_ = state ? 1 : 0;
    onOffButton_->setText(ctx_.model.catalogue(state_ ? Msg::On : Msg::Off));
}

void EntryDialog::openInMode()
{
    finished_ = false;
    for (TypedFieldControl *field : typed_)
        field->setChecking(true);
    session_.open(ctx_.model);
    loadControls();
    AssignLabelMnemonics(this);
    allTimer_->stop();
    markTimer_->stop();
    okMark_->hide();
    clearPanel();
    refreshAllButton();
    show();
    raise();
    activateWindow();
    if (QWidget *first = firstField())
        first->setFocus(Qt::OtherFocusReason);
    checkMemoryOnActivation();
}

QWidget *EntryDialog::firstChannelControl() const
{
    for (QWidget *w : channels_)
        if (!w->isHidden() && w->isEnabled())
            return w;
    for (QWidget *w : busChannels_)
        if (!w->isHidden() && !busFrame_->isHidden())
            return w;
    return channels_[0];
}

QString EntryDialog::runTitle() const
{
    const Model &model = ctx_.model;
    return RunTitle(model.catalogue(editMode() == EditCopy ? names_.copyTitle : names_.changeTitle),
                    session_.run(), model.device.Sprache);
}

void EntryDialog::setKeyboardOrder(const std::vector<QWidget *> &entryControls,
                                   const std::vector<QWidget *> &valueControls)
{
    // Return presses OK wherever the focus stands (a typed field first takes its value, and a
    // value it refuses keeps Return there). No other button takes Return when it has the focus.
    for (QPushButton *b : findChildren<QPushButton *>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    okButton_->setDefault(true);
    std::vector<QWidget *> chain = entryControls;
    chain.insert(chain.end(), channels_.begin(), channels_.end());
    chain.insert(chain.end(), busChannels_.begin(), busChannels_.end());
    chain.push_back(onOffButton_);
    chain.insert(chain.end(), valueControls.begin(), valueControls.end());
    chain.insert(chain.end(), {okButton_, allButton_, exitButton_, automationActive_, newAutomationButton_,
                               applyOnceButton_, lastEntryUp_, lastEntryDown_});
    SetTabChain(chain);
}

bool EntryDialog::offersAll() const
{
    return editMode() == EditCopy || (editMode() == EditChange && automationActive_->isChecked());
}

void EntryDialog::refreshAllButton()
{
    allButton_->setEnabled(offersAll());
}

bool EntryDialog::commitTypedFields()
{
    for (TypedFieldControl *field : typed_)
        if (!field->commit())
            return false;
    return true;
}

void EntryDialog::confirm()
{
    if (finished_)
        return;
    // A value still being typed is taken first; one out of range stores nothing.
    if (!commitTypedFields()) {
        session_.stopAll();
        stopOwnRun();
        return;
    }
    Model &model = ctx_.model;
    bool closeAfter = false;
    bool again = false;
    try {
        const EntrySession::Confirmation c = store();
        const EntrySession::Next &next = c.next;
        if (next.stopRuns)
            stopOwnRun();
        if (next.stored) {
            showPanel(c.result.index);
            okMark_->show();
            markTimer_->start();
            if (c.result.memoryFull)
                automationActive_->setChecked(false);
        }
        closeAfter = next.close;
        if (next.loadNext) {
            loadRecord(session_.recordToLoad(), session_.sourceSet());
            setRunTitle();
        }
        if (next.applyAutomation)
            applyIncrements();
        again = !closeAfter && continueRun(c);
    } catch (const std::exception &error) {
        session_.stopAll();
        ctx_.prompter.tell(QStringLiteral("Error : ") + QString::fromLocal8Bit(error.what()));
    }

    model.ListView = listView_;
    model.CurrentSet = SetProgram;
    Q_EMIT listChanged();

    if (closeAfter)
        done(QDialog::Accepted);
    else if (session_.runsAll() || again)
        allTimer_->start();
}

void EntryDialog::onOkForAll()
{
    session_.startAll();
    allTimer_->start();
}

void EntryDialog::continueAll()
{
    allTimer_->start();
}

void EntryDialog::onAllTick()
{
    allTimer_->stop();
    if (session_.runsAll() || ownRunGoesOn())
        confirm();
}

void EntryDialog::onNewAutomation()
{
    if (!automation_) {
        automation_ = new AutomationDialog(ctx_, this);
        automation_->setAttribute(Qt::WA_DeleteOnClose);
    }
    automation_->loadSettings();
    automation_->show();
    automation_->raise();
    automation_->activateWindow();
}

void EntryDialog::onStepPanel(int direction)
{
    if (session_.stepPanel(ctx_.model, direction, names_.panelShows))
        showPanel(session_.panelIndex());
    else
        ctx_.prompter.beep();
}

bool EntryDialog::checkMemoryOnActivation()
{
    if (finished_ || !session_.refusesFullMemory(ctx_.model, ctx_.prompter))
        return false;
    done(QDialog::Rejected);
    return true;
}

void EntryDialog::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible())
        checkMemoryOnActivation();
}

void EntryDialog::done(int result)
{
    if (finished_) {
        QDialog::done(result);
        return;
    }
    finished_ = true;
    for (TypedFieldControl *field : typed_)
        field->setChecking(false);
    Model &model = ctx_.model;
    session_.close(model);
    stopOwnRun();
    allTimer_->stop();
    if (automation_)
        automation_->close();
    SortRecords(model, DisplayOrder, SetProgram, &ctx_.prompter);
    model.ListView = listView_;
    model.CurrentSet = SetProgram;
    QDialog::done(result);
    Q_EMIT listChanged();
}

} // namespace zx
