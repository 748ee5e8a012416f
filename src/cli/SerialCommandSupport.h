#pragma once

#include "transfer/TransferProgress.h"

#include <QByteArray>
#include <QString>

namespace zx {
class Model;
}

namespace zx::cli {

class Options;

// Runs the serial transfer of "write" ("s", sending `programFile`) or "read" ("l", the image
// into `readBack`) on the port of --port, with the exchange files and the log in the working
// directory. false after the error line; after SIGINT or SIGTERM the transfer ends with the port
// closed and a line saying what the device holds.
bool runSerialCommand(Model &model, Options &options, const QString &workDir, const QString &direction,
                      const QString &programFile, QByteArray *readBack = nullptr);

// The serial transfer's progress on standard error: the label once, then the gauge.
class StderrProgress final : public TransferProgress {
  public:
    void begin(const QString &caption) override;
    void setLabel(const QString &text) override;
    void setGauge(int value) override;
    void end() override;
    // A caught SIGINT or SIGTERM ends the transfer as the window's Cancel does.
    bool cancelRequested() const override;
    bool quiet = false; // --quiet: no steps, no gauge

  private:
    bool terminal_ = false;
    int shown_ = -1;
};

} // namespace zx::cli
