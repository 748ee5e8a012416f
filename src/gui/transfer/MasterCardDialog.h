#pragma once

#include "transfer/MasterCard.h"

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QRadioButton;

namespace zx {

class Clock;
class Model;
class Prompter;

// FrmMaster ("Codierung"): the device options of the image header and the master-card coding.
// Modeless and without OK or Cancel: every click changes the model at once, rebuilds the
// header and asks the main window to refresh its status display.
class MasterCardDialog final : public QDialog {
    Q_OBJECT
  public:
    MasterCardDialog(Model &model, Prompter &prompter, const Clock &clock,
                     std::function<void()> refreshStatus, QWidget *parent = nullptr);

  private:
    QGroupBox *optionPair(const char *frameName, const QString &caption, DeviceOption option,
                          const char *firstName, const QString &first, const char *secondName,
                          const QString &second);
    QGroupBox *masterCardGroup();
    QGroupBox *optionBitsGroup();
    void choose(DeviceOption option, bool on);
    void toggleBit(int k, bool checked);

    Model &model_;
    Prompter &prompter_;
    const Clock &clock_;
    std::function<void()> refreshStatus_;
    // The dialog's own copy of the eight option bits: value k is 0 or 2 to the power k.
    std::array<int, 8> bitValues_{};
};

} // namespace zx
