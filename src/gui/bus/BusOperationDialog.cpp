#include "bus/BusOperationDialog.h"

#include "app/AppContext.h"
#include "bus/BusAddress.h"
#include "bus/BusInterfaceBox.h"
#include "bus/BusProgressView.h"
#include "bus/BusSession.h"
#include "i18n/Msg.h"
#include "model/Model.h"
#include "platform/BusLibrary.h"
#include "platform/Prompter.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace zx {

BusOperationDialog::BusOperationDialog(AppContext &context, QWidget *parent) : QDialog(parent), ctx_(context)
{
    const Catalogue &c = ctx_.model.catalogue;
    status_ = new QLabel(c(Msg::ReadyToStart), this);
    status_->setObjectName(QStringLiteral("lblStatus"));
    status_->setMinimumWidth(260);
    gauge_ = new QProgressBar(this);
    gauge_->setObjectName(QStringLiteral("ggestatus"));
    gauge_->setTextVisible(false);
    gauge_->setValue(0);
}

QLayout *BusOperationDialog::statusRow()
{
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(ctx_.model.catalogue(Msg::Status) + QStringLiteral(":"), this));
    row->addWidget(status_, 1);
    return row;
}

std::optional<int> BusOperationDialog::physicalAddress(QLineEdit *field)
{
    const auto address = ParsePhysicalAddress(field->text());
    if (!address) {
        ctx_.prompter.tell(ctx_.model.catalogue(Msg::NoValidPhysicalAdress), Icon::Critical);
        field->setFocus();
    }
    return address;
}

bool BusOperationDialog::runOnBus(BusInterfaceBox &port,
                                  const std::function<void(BusEnvironment &, int)> &operation)
{
    QString portName;
    auto library = port.makeLibrary(&portName);
    if (!library)
        return false;
    setRunning(true);
    gauge_->setValue(0);
    BusProgressView progress(status_, gauge_);
    BusEnvironment env{*library,     ctx_.pump, ctx_.clock, ctx_.model, ctx_.prompter,
                       ctx_.workDir, timings_,  &progress,  portName};
    operation(env, port.comIndex());
    setRunning(false);
    return true;
}

void BusOperationDialog::reject()
{
    if (running_)
        return;
    QDialog::reject();
}

void BusOperationDialog::closeEvent(QCloseEvent *event)
{
    if (running_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace zx
