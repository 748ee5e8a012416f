#pragma once

#include <QDialog>

#include <array>

class QComboBox;

namespace zx {

// Which device file each of COM1 to COM4 is: the serial ports found on this machine (on-board,
// USB and ACM adapters) are offered, and any typed path is taken. OK writes "comports.ini" in
// the working directory.
class SerialPortsDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit SerialPortsDialog(const QString &workDir, QWidget *parent = nullptr);

    // Saves the choice; false (and the dialog stays open) when the file cannot be written.
    void accept() override;

  private:
    QString workDir_;
    std::array<QComboBox *, 4> devices_{};
};

} // namespace zx
