#include "transfer/TransferCommands.h"

#include "app/AppContext.h"
#include "i18n/Msg.h"
#include "model/Model.h"
#include "platform/QtSerialPort.h"
#include "transfer/DeviceTransfer.h"
#include "transfer/MasterCardDialog.h"
#include "transfer/SerialProgressWindow.h"

namespace zx {

namespace {

void withTransfer(AppContext &context, QWidget *parent, const std::function<void()> &redraw,
                  const std::function<void(DeviceTransfer &)> &command)
{
    QtSerialPort port;
    SerialProgressWindow progress(parent, context.model.catalogue(Msg::Cancel));
    DeviceTransfer transfer(context, port, &progress);
    transfer.setRedraw(redraw);
    command(transfer);
}

} // namespace

void runWriteCommand(AppContext &context, const std::function<bool()> &save, QWidget *parent,
                     const std::function<void()> &redraw)
{
    withTransfer(context, parent, redraw, [&](DeviceTransfer &t) { t.WriteCommand(save); });
}

void runReadCommand(AppContext &context, const std::function<bool()> &save, QWidget *parent,
                    const std::function<void()> &redraw)
{
    withTransfer(context, parent, redraw, [&](DeviceTransfer &t) { t.ReadCommand(save); });
}

QWidget *openMasterCardDialog(AppContext &context, const std::function<void()> &refreshStatus, QWidget *parent)
{
    auto *dialog = new MasterCardDialog(context.model, context.prompter, context.clock, refreshStatus, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    dialog->raise();
    return dialog;
}

} // namespace zx
