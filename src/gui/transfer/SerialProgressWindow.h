#pragma once

#include "transfer/TransferProgress.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zx {

// FRM_SERIEL_IO: the small window that shows a serial transfer going on, with its text
// lbl_seriell_io and its gauge ggefortschritt (0..129).
class SerialProgressWindow final : public QDialog, public TransferProgress {
    Q_OBJECT
  public:
    // `cancelText`: the caption of the Cancel button (the catalogue's text).
    explicit SerialProgressWindow(QWidget *parent = nullptr,
                                  const QString &cancelText = QStringLiteral("Cancel"));

    void begin(const QString &caption) override;
    void setLabel(const QString &text) override;
    void setGauge(int value) override;
    void end() override;
    bool cancelRequested() const override { return cancelRequested_; }

    bool isLoaded() const { return loaded_; }

  private:
    QLabel *label_;
    QProgressBar *gauge_;
    QPushButton *cancel_;
    bool loaded_ = false;
    bool cancelRequested_ = false;

  protected:
    // Escape and closing the window ask to cancel, as the Cancel button does; the transfer
    // ends the window itself.
    void reject() override;
};

} // namespace zx
