#include "transfer/TransferCommands.h"

#include "app/AppContext.h"
#include "i18n/Msg.h"
#include "model/Model.h"
#include "i18n/Catalogue.h"
#include "platform/QtSerialPort.h"
#include "transfer/DeviceTransfer.h"
#include "transfer/MasterCardDialog.h"
#include "transfer/SerialProgressWindow.h"

namespace zx {

namespace {

bool withTransfer(AppContext &context, QWidget *parent, const std::function<void()> &redraw,
                  const std::function<void(DeviceTransfer &)> &command)
{
    QtSerialPort port;
    SerialProgressWindow progress(parent, context.model.catalogue(Msg::Cancel));
    DeviceTransfer transfer(context, port, &progress);
    transfer.setRedraw(redraw);
    command(transfer);
    return transfer.succeeded();
}

} // namespace

bool runWriteCommand(AppContext &context, const std::function<bool()> &save, QWidget *parent,
                     const std::function<void()> &redraw)
{
    return withTransfer(context, parent, redraw, [&](DeviceTransfer &t) { t.WriteCommand(save); });
}

bool runReadCommand(AppContext &context, const std::function<bool()> &save, QWidget *parent,
                    const std::function<void()> &redraw)
{
    return withTransfer(context, parent, redraw, [&](DeviceTransfer &t) { t.ReadCommand(save); });
}

QString transferDoneText(const Catalogue &catalogue, bool writing)
{
    QString command = catalogue(writing ? Msg::MenuProgramDevice : Msg::MenuReadDevice);
    command.remove(QLatin1Char('&'));
    return command + QStringLiteral(": ") + catalogue(Msg::AccessToZentrixFinished);
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
