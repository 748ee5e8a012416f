// The switching program and the changeover table through the device's mailbox: program a
// device and read its program back. Connecting, the memory services and the application's
// save and install are BusOperations.cpp's.
#include "bus/BusOperations.h"

#include "bus/BusLink.h"
#include "calendar/Changeover.h"
#include "entry/EntryDeviceRules.h"
#include "i18n/Msg.h"
#include "model/DeviceReadProgram.h"
#include "model/ListOrder.h"
#include "model/Model.h"
#include "model/RecordDecoder.h"
#include "model/ValueRanges.h"

#include <algorithm>

namespace zx {

namespace {

// How often a record transfer starts again after a lost answer before it gives up.
constexpr int MaxRestarts = 3;
// writeSwitchingProgram(): a record's answer was lost; the program is to be written again.
constexpr int RestartWrite = -2;
// The changeover table header of a table without entries.
constexpr int EmptyTableHeader = Ranges::ChangeoverFirstYear.max + 1;

// The highest channel the records of a bus time switch switch.
int HighestBusChannel(const std::vector<ProgramRecord> &records)
{
    int highest = 0;
    for (const ProgramRecord &r : records) {
        const int channel =
            IsPriorityCode(r.b0) ? DecodePriorityRecord(r, 1).channel : DecodeSwitchingRecord(r, 1).channel;
        highest = std::max(highest, channel);
    }
    return highest;
}

bool allFF(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return std::uint8_t(c) == 0xFF; });
}

} // namespace

int BusOperations::pollMailbox(QByteArray *answer)
{
    for (int read = 0; read < Mailbox::Polls; ++read) {
        const int status = memoryRead(Mailbox::Address, Mailbox::Size, answer);
        // A coupling unit that no longer confirms will not answer the next read either.
        if (LinkError::IsLocalLinkFailure(status))
            return status;
        if (status != LinkError::Ok) {
            // The connection may have dropped while the time switch was busy: a new one.
            uncertain_ = true;
            if (const int d = disconnect(); LinkError::IsLocalLinkFailure(d))
                return d;
            link_.Drain(link_.timings().reconnectWaitMs);
            if (const int c = Connect(device_))
                return c;
            continue;
        }
        if (std::uint8_t(answer->at(0)) == Mailbox::Complete)
            return LinkError::Ok;
        link_.Pause(link_.timings().mailboxPollPauseMs);
    }
    return LinkError::NoConnectionToDevice;
}

int BusOperations::mailbox(int command, const QByteArray &data, bool query, QByteArray *reply)
{
    const QByteArray request = Mailbox::request(command, data);
    int status = LinkError::Ok;
    uncertain_ = false;
    for (int attempt = 1; attempt <= Mailbox::Attempts; ++attempt) {
        if (attempt > 1 && status != LinkError::TimeSwitchBusy) {
            if (const int s = reopen()) {
                status = s;
                continue;
            }
        }
        status = memoryWrite(Mailbox::Address, request);
        if (status != LinkError::Ok) {
            link_.log(link_.catalogue()(Msg::ErrorInReceive) + QStringLiteral("(%1)").arg(attempt));
            if (LinkError::IsLocalLinkFailure(status))
                return status;
            continue;
        }
        link_.Pause(link_.timings().mailboxPauseMs);
        QByteArray answer;
        if (const int polled = pollMailbox(&answer)) {
            if (LinkError::IsLocalLinkFailure(polled))
                return polled;
            link_.logStep(Msg::NoAnswerFromTheTime);
            status = LinkError::NoAnswerFromTimeSwitch;
            uncertain_ = true; // the time switch may have taken the command all the same
            link_.Drain(link_.timings().retryWaitMs);
            continue;
        }
        // A write answer is all 0xFF when the command was taken; a query answer carries 0xFF
        // in its status byte and the reply after it.
        const bool busy = query ? std::uint8_t(answer.at(1)) != 0xFF : !allFF(answer.mid(1));
        if (busy) {
            link_.logStep(Msg::TimeSwitchBusy);
            status = LinkError::TimeSwitchBusy;
            link_.Drain(link_.timings().retryWaitMs);
            continue;
        }
        if (reply)
            *reply = answer.mid(2);
        return LinkError::Ok;
    }
    return status;
}

int BusOperations::MailboxCommand(int command, const QByteArray &data)
{
    return mailbox(command, data, false, nullptr);
}

int BusOperations::MailboxQuery(int command, const QByteArray &data, QByteArray *reply)
{
    return mailbox(command, data, true, reply);
}

int BusOperations::writeSwitchingProgram()
{
    const ProgramSet &p = model_.program();
    step(Msg::DeleteSwitchingProgramm);
    if (const int s = MailboxCommand(Mailbox::DeleteProgram, {}))
        return s;
    link_.WaitMs(link_.timings().afterDeleteWaitMs);
    QByteArray answer;
    if (const int s = memoryRead(Mailbox::Address, Mailbox::Size, &answer))
        return s;

    step(Msg::WriteSwitchingProgramm);
    // The device keeps its records in device order, the order of a saved program.
    std::vector<ProgramRecord> records(
        p.Records.begin(), p.Records.begin() + std::min(p.UsedCount, model_.device.RecordCapacity));
    SortInDeviceOrder(records);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const ProgramRecord &r = records[i];
        const QByteArray data = BusBytes({r.b0, r.b1, r.b2, r.b3, r.b4, r.b5});
        if (const int s = MailboxCommand(Mailbox::WriteRecord, data))
            return s;
        if (uncertain_) {
            link_.log(link_.catalogue()(Msg::WriteSwitchingProgramm) + QStringLiteral("(again)"));
            return RestartWrite;
        }
        gauge(int(i) + 1, int(records.size()));
    }
    return LinkError::Ok;
}

int BusOperations::ProgramDevice(int address)
{
    if (const int status = link_.OpenLink(link_.comIndex()))
        return status;
    if (Connect(address) != LinkError::Ok)
        return finish(LinkError::NoConnectionToDevice);

    // The table is written whether or not it holds entries: a program without changeover
    // entries leaves the device with an empty table (header 255), not with its old one.
    const ProgramSet &p = model_.program();
    step(Msg::WriteSWChangeOver);
    const int count = std::clamp(p.DstCount, 0, DstEntries);
    const int header = count > 0 ? p.DstFirstYear & 0xFF : EmptyTableHeader;
    if (const int s = MailboxCommand(Mailbox::WriteChangeover, BusBytes({0, header, 0, 0, 0})))
        return finish(s);
    gauge(1, DstEntries + 1);
    for (int i = 1; i <= DstEntries; ++i) {
        QByteArray data(1, char(i));
        const DstEntry &e = i <= count ? p.DstTable[i - 1] : EmptyDstEntry;
        for (int v : e)
            data.append(char(v & 0xFF));
        if (const int s = MailboxCommand(Mailbox::WriteChangeover, data))
            return finish(s);
        gauge(i + 1, DstEntries + 1);
    }

    // The device adds every record written: after a lost answer nobody knows whether it took
    // the record once or twice, so its program is deleted and written again.
    for (int restarts = 0;; ++restarts) {
        if (restarts > MaxRestarts)
            return finish(LinkError::NoValidData);
        const int s = writeSwitchingProgram();
        if (s == RestartWrite)
            continue;
        if (s != LinkError::Ok)
            return finish(s);
        break;
    }
    return finish(LinkError::Ok);
}

int BusOperations::ReadDevice(int address)
{
    if (const int status = link_.OpenLink(link_.comIndex()))
        return status;
    if (const int status = Connect(address))
        return finish(status);

    // Everything is gathered first; the program in memory changes only once all of it arrived.
    step(Msg::ReadSWChangeOver);
    QByteArray reply;
    if (const int s = MailboxQuery(Mailbox::ReadChangeoverHeader, QByteArray(5, '\0'), &reply))
        return finish(s);
    const int header = std::uint8_t(reply.at(0));
    std::array<DstEntry, DstEntries> table;
    table.fill(EmptyDstEntry);
    for (int n = 0; n <= DstEntries; ++n) {
        QByteArray data(1, char(n));
        data.append(QByteArray(4, '\0'));
        if (const int s = MailboxQuery(Mailbox::ReadChangeoverEntry, data, &reply))
            return finish(s);
        if (n >= 1)
            table[n - 1] = {std::uint8_t(reply.at(0)), std::uint8_t(reply.at(1)), std::uint8_t(reply.at(2)),
                            std::uint8_t(reply.at(3))};
        gauge(n + 1, DstEntries + 1);
    }
    // The table runs up to its first unused entry; a header of 255 says there is none.
    int count = 0;
    if (Ranges::ChangeoverFirstYear.contains(header)) {
        while (count < DstEntries && IsDstEntryInUse(table[count]))
            ++count;
    }
    for (int i = count; i < DstEntries; ++i)
        table[i] = EmptyDstEntry;

    step(Msg::ReadSwitchingProgramm);
    std::vector<ProgramRecord> records;
    const int capacity = std::min(model_.device.RecordCapacity, MaxRecords);
    int command = Mailbox::ReadFirstRecord;
    int restarts = 0;
    // The device holds MaxRecords records at the most, whatever it answers.
    for (int reads = 0; reads < MaxRecords && int(records.size()) < capacity; ++reads) {
        if (const int s = MailboxQuery(command, QByteArray(6, '\0'), &reply))
            return finish(s);
        // "Next record" moves the device's read position: after a lost answer nobody knows
        // whether it moved once or twice, so the program is read again from its first record.
        if (uncertain_) {
            if (++restarts > MaxRestarts)
                return finish(LinkError::NoValidData);
            link_.log(link_.catalogue()(Msg::ReadSwitchingProgramm) +
                      QStringLiteral("(%1)").arg(restarts + 1));
            records.clear();
            command = Mailbox::ReadFirstRecord;
            reads = -1;
            continue;
        }
        if (allFF(reply.left(7)))
            break;
        const auto b = [&](int i) { return std::uint8_t(reply.at(i)); };
        // The record chain's link lives in b2 and bit 7 of b3 inside the device; the model keeps
        // those bits clear.
        const ProgramRecord record{b(0), b(1), 0, std::uint8_t(b(3) & 0x7F), b(4), b(5)};
        command = Mailbox::ReadNextRecord;
        // What the loader drops from a file is not taken into the program either.
        if (!IsSwitchingCode(record.b0) && !IsPriorityCode(record.b0))
            continue;
        records.push_back(record);
        gauge(int(records.size()), capacity);
    }
    const int status = finish(LinkError::Ok);
    if (status != LinkError::Ok)
        return status;

    ProgramSet &p = model_.program();
    p.DstFirstYear = header;
    p.DstTable = table;
    p.DstCount = count;
    p.Records.fill(ProgramRecord{});
    std::copy(records.begin(), records.end(), p.Records.begin());
    p.UsedCount = int(records.size());
    // A four-channel program cannot show what the device switches on channels 5 to 8.
    if (model_.device.BusDevice != 0 && BusChannelCount(model_.device.Kanalzahl) < HighestBusChannel(records))
        model_.device.Kanalzahl = 8;
    model_.recount(SetProgram);
    // Nothing of the program open before stays: the bus carries neither texts, a program
    // number nor the stamp of a saved file.
    GiveReadProgramDeviceTexts(model_);
    p.ProgramNumber = NoProgramNumber;
    p.HeaderBytes.fill(0);
    model_.Modified = 1;
    // What came from the device is no file of the user's yet: Save asks for a name rather than
    // putting the device's program over the file that was open before the read.
    model_.FileNamed = 0;
    return LinkError::Ok;
}

} // namespace zx
