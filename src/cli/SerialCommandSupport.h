#pragma once

#include "model/ProgramFile.h"
#include "transfer/TransferProgress.h"

#include <QString>
#include <QStringList>

namespace zx {
class Model;
}

namespace zx::cli {

// The arguments shared by "write" and "read": one file, --port DEVICE, --type 517|236.
struct SerialArgs {
    QString file;
    QString device;
    int type = 517;
};
// False when the arguments do not fit.
bool parseSerialArgs(const QStringList &args, SerialArgs *out);

// Fixes the device type of a fresh model.
void setDeviceType(Model &model, int type);

// A line for a load result that is no program of this device type; empty when it is loaded.
QString loadProblem(const Model &model, LoadResult result);

// Runs the serial link for the request in "zentrix.msg" of the current directory; 0 when every
// block went through.
int runSerialLink(Model &model, const QString &device);

// The serial transfer's progress on standard error: the label once, then the gauge.
class StderrProgress final : public TransferProgress {
  public:
    void begin(const QString &caption) override;
    void setLabel(const QString &text) override;
    void setGauge(int value) override;
    void end() override;

  private:
    bool terminal_ = false;
    int shown_ = -1;
};

} // namespace zx::cli
