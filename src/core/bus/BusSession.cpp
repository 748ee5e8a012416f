#include "bus/BusSession.h"

#include "bus/BusAddress.h"
#include "bus/BusIdentity.h"
#include "bus/BusLink.h"
#include "bus/BusOperations.h"
#include "bus/BusTexts.h"
#include "bus/ProtocolFile.h"
#include "i18n/Msg.h"
#include "model/Model.h"
#include "platform/BusLibrary.h"
#include "platform/Prompter.h"

namespace zx {

namespace {

BusResult resultOf(const BusEnvironment &env, int code, int comIndex, const QString &runTimeText)
{
    BusResult r;
    r.code = code;
    if (code == LinkError::Ok)
        return r;
    r.message = code == LinkError::Interrupted
                    ? busText(BusText::Interrupted, env.model.device.Sprache)
                    : LinkErrorMessage(env.model.catalogue, code, comIndex, env.portName, runTimeText);
    // A back-end's own failure (a refused or lost tunnel) in its own words, with the details.
    const QString own = env.library.statusMessage(code, env.model.device.Sprache);
    if (!own.isEmpty())
        r.message = own + env.model.catalogue(Msg::ForDetailsSeeFileProtocol);
    return r;
}

} // namespace

BusResult RunBusCommand(BusEnvironment &env, BusCommand command, int comIndex, int address)
{
    ProtocolFile protocol;
    QString error;
    if (!protocol.recreate(env.workDir, &error))
        return resultOf(env, LinkError::RunTimeError, comIndex, error);
    BusLink link(env.library, env.pump, env.clock, env.model.catalogue, protocol, env.timings);
    link.setInterruptCheck(env.interrupted);
    link.setComIndex(comIndex);
    BusOperations ops(link, env.model, BusIdentityOf(env.model.BrandNumber), env.workDir, env.progress,
                      &env.prompter);
    int code = LinkError::Ok;
    switch (command) {
    case BusCommand::Program:
        code = ops.ProgramWithApplicationSwap(address);
        break;
    case BusCommand::Read:
        code = ops.ReadWithApplicationSwap(address);
        break;
    case BusCommand::Reinstall:
        code = ops.Reinstall(address);
        break;
    }
    protocol.close();
    BusResult result = resultOf(env, code, comIndex, ops.runTimeText());
    if (!result.ok() && ops.deviceHoldsProgramming())
        result.message += QStringLiteral("\n") + busText(BusText::ReinstallHint, env.model.device.Sprache)
                                                     .arg(env.model.catalogue(Msg::Reinstall));
    return result;
}

BusSearchResult SearchBusDevices(BusEnvironment &env, int comIndex, int area, int line, int from, int to,
                                 const std::function<void(const QString &)> &checking)
{
    BusSearchResult result;
    ProtocolFile protocol;
    QString error;
    if (!protocol.recreate(env.workDir, &error)) {
        static_cast<BusResult &>(result) = resultOf(env, LinkError::RunTimeError, comIndex, error);
        return result;
    }
    BusLink link(env.library, env.pump, env.clock, env.model.catalogue, protocol, env.timings);
    link.setInterruptCheck(env.interrupted);
    const BusIdentity &identity = BusIdentityOf(env.model.BrandNumber);
    BusOperations ops(link, env.model, identity, env.workDir, env.progress, &env.prompter);

    int code = link.OpenLink(comIndex);
    for (int device = from; code == LinkError::Ok && device <= to; ++device) {
        const int address = PackPhysicalAddress(area, line, device);
        const QString text = env.model.catalogue(Msg::CheckingDevice) + PhysicalAddressText(address);
        link.log(text);
        if (checking)
            checking(text);
        QByteArray identification;
        if (ops.SearchDevice(address, &identification) == LinkError::Ok) {
            if (identity.matches(identification))
                result.found << PhysicalAddressText(address);
            continue;
        }
        // A device that failed may leave the BCU in the middle of a connection.
        link.ResetLocalBcu();
        link.CloseLink();
        code = link.OpenLink(comIndex);
    }
    if (link.isOpen()) {
        const int closed = link.CloseLink();
        if (code == LinkError::Ok)
            code = closed;
    }
    protocol.close();
    static_cast<BusResult &>(result) = resultOf(env, code, comIndex, ops.runTimeText());
    return result;
}

void ReportBusError(Prompter &prompter, const BusResult &result)
{
    if (!result.ok())
        prompter.tell(result.message, Icon::Critical);
}

} // namespace zx
