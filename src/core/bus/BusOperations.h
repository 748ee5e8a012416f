#pragma once

#include "bus/ApplicationImage.h"
#include "bus/BusIdentity.h"

#include <QByteArray>
#include <QString>

#include <initializer_list>

namespace zx {

class BusLink;
class Model;
class Prompter;

// What an operation shows while it runs: the step it is at and the progress gauge.
class BusProgress {
  public:
    virtual ~BusProgress() = default;
    virtual void setStep(const QString &text) = 0;
    virtual void setGauge(int value, int maximum) = 0;
};

// The mailbox of the time switch: 9 bytes of its memory through which the programming
// application takes one command at a time.
namespace Mailbox {
constexpr int Address = 0x00CE;
constexpr int Size = 9;
constexpr int Request = 0x01;
constexpr int Complete = 0x02;
constexpr int Attempts = 3;
constexpr int Polls = 15;

constexpr int WriteChangeover = 0xC4;
constexpr int DeleteProgram = 0xE5;
constexpr int WriteRecord = 0xE0;
constexpr int ReadChangeoverHeader = 0x44;
constexpr int ReadChangeoverEntry = 0x40;
constexpr int ReadFirstRecord = 0x60;
constexpr int ReadNextRecord = 0x61;

// 0x01, data length + 1, command, data, padded with 0x00 to 9 bytes.
QByteArray request(int command, const QByteArray &data);
} // namespace Mailbox

// Small values as bytes of a telegram, one each (the low 8 bits).
QByteArray BusBytes(std::initializer_list<int> values);

// The device operations on a bus time switch over an open link: search, identify, save and
// install its application, program and read its changeover table and switching program.
// Every operation returns a link error (0 success); a RunTimeError's text is runTimeText().
class BusOperations {
  public:
    BusOperations(BusLink &link, Model &model, const BusIdentity &identity, const QString &workDir,
                  BusProgress *progress = nullptr, Prompter *prompter = nullptr);

    // 0 and the three identification bytes when a device with an accepted mask answers.
    int SearchDevice(int address, QByteArray *identification);
    // Connects to the device; the mailbox reconnects to it when a read fails.
    int Connect(int address);
    int WriteMemoryVerified(int address, const QByteArray &bytes);
    // Saves the device's application to "appl.old". A device that still holds the programming
    // application (a transfer that broke off) keeps the "appl.old" of its own application.
    // `foundProgramming` tells whether the device held the programming application.
    int SaveApplication(int address, const ApplicationImage *programmingApplication = nullptr,
                        bool *foundProgramming = nullptr);
    int InstallApplication(int address, const QString &fileName);
    int MailboxCommand(int command, const QByteArray &data);
    int MailboxQuery(int command, const QByteArray &data, QByteArray *reply);
    int ProgramDevice(int address);
    int ReadDevice(int address);

    // The three operations of the bus access dialog, each in one link period.
    int ProgramWithApplicationSwap(int address);
    int ReadWithApplicationSwap(int address);
    int Reinstall(int address);

    const QString &runTimeText() const { return runTimeText_; }
    // True after a Program or Read that broke off once the programming application went in:
    // the device needs Reinstall.
    bool deviceHoldsProgramming() const { return holdsProgramming_; }

  private:
    int disconnect();
    int finish(int status);
    int reopen();
    int memoryRead(int address, int count, QByteArray *data);
    int memoryWrite(int address, const QByteArray &data);
    int checkMask();
    int readIdentification(QByteArray *bytes);
    int installSteps(const ApplicationImage &image);
    int installWithAttempts(int address, const QString &fileName);
    int transfer(int address, int (BusOperations::*exchange)(int));
    int mailbox(int command, const QByteArray &data, bool query, QByteArray *reply);
    int pollMailbox(QByteArray *answer);
    int writeSwitchingProgram();
    void step(int msgId);
    void gauge(int value, int maximum);
    int runTimeError(const QString &text);
    bool setOwner(int address, bool holdsProgramming);
    QString reinstallCaption() const;
    int language() const;

    BusLink &link_;
    Model &model_;
    const BusIdentity &identity_;
    QString workDir_;
    BusProgress *progress_;
    Prompter *prompter_;
    int device_ = 0;
    bool connected_ = false;
    bool holdsProgramming_ = false;
    bool installTouched_ = false; // a write of the current install took
    bool uncertain_ = false;      // the last mailbox command may have been taken more than once
    QString runTimeText_;
};

} // namespace zx
