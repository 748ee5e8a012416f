#include "transfer/TransferCommands.h"

#include "app/AppContext.h"
#include "i18n/Catalogue.h"
#include "i18n/Msg.h"
#include "model/Model.h"
#include "platform/QtSerialPort.h"
#include "transfer/DeviceTransfer.h"
#include "transfer/MasterCardDialog.h"
#include "transfer/SerialProgressWindow.h"

#include <QSettings>

namespace zx {

namespace {

bool withTransfer(AppContext &context, QWidget *parent, const std::function<void()> &redraw,
                  const std::function<void(DeviceTransfer &)> &command)
{
    QtSerialPort port;
    SerialProgressWindow progress(parent, context.model.catalogue(Msg::Cancel));
    DeviceTransfer transfer(context, port, &progress);
    transfer.setRedraw(redraw);
    transfer.setVerifyAfterWrite(verifyAfterWrite(context.model));
    command(transfer);
    return transfer.succeeded();
}

} // namespace

bool runWriteCommand(AppContext &context, const std::function<bool()> &save, QWidget *parent,
                     const std::function<void()> &redraw, bool *verified)
{
    return withTransfer(context, parent, redraw, [&](DeviceTransfer &t) {
        t.WriteCommand(save);
        if (verified)
            *verified = t.verified();
    });
}

bool runReadCommand(AppContext &context, const std::function<bool()> &save, QWidget *parent,
                    const std::function<void()> &redraw)
{
    return withTransfer(context, parent, redraw, [&](DeviceTransfer &t) { t.ReadCommand(save); });
}

bool runReadInto(AppContext &context, QWidget *parent, Model &document)
{
    bool read = false;
    withTransfer(context, parent, {}, [&](DeviceTransfer &t) { read = t.ReadInto(document); });
    return read;
}

namespace {
QString verifyKey(const Model &model)
{
    return model.device.BusDevice == 1 ? QStringLiteral("Transfer/verifyBusWrite")
                                       : QStringLiteral("Transfer/verifyWrite");
}
} // namespace

bool verifyAfterWrite(const Model &model)
{
    return QSettings(QStringLiteral("Zentrix"), QStringLiteral("Zentrix"))
        .value(verifyKey(model), model.device.BusDevice == 1)
        .toBool();
}

void setVerifyAfterWrite(const Model &model, bool verify)
{
    QSettings(QStringLiteral("Zentrix"), QStringLiteral("Zentrix")).setValue(verifyKey(model), verify);
}

QString transferDoneText(const Catalogue &catalogue, bool writing)
{
    QString command = catalogue(writing ? Msg::MenuProgramDevice : Msg::MenuReadDevice);
    command.remove(QLatin1Char('&'));
    return command + QStringLiteral(": ") + catalogue(Msg::AccessToZentrixFinished);
}

QWidget *openMasterCardDialog(AppContext &context, const std::function<void()> &refreshStatus,
                              QWidget *parent)
{
    auto *dialog =
        new MasterCardDialog(context.model, context.prompter, context.clock, refreshStatus, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    dialog->raise();
    return dialog;
}

} // namespace zx
