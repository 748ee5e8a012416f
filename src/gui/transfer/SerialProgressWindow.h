#pragma once

#include "transfer/TransferProgress.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace zx {

// FRM_SERIEL_IO: the small window that shows a serial transfer going on, with its text
// lbl_seriell_io and its gauge ggefortschritt (0..129).
class SerialProgressWindow final : public QDialog, public TransferProgress {
    Q_OBJECT
public:
    explicit SerialProgressWindow(QWidget *parent = nullptr);

    void begin(const QString &caption) override;
    void setLabel(const QString &text) override;
    void setGauge(int value) override;
    void end() override;

    bool isLoaded() const { return loaded_; }

private:
    QLabel *label_;
    QProgressBar *gauge_;
    bool loaded_ = false;
};

} // namespace zx
