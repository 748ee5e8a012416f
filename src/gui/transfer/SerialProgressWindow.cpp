#include "transfer/SerialProgressWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace zx {

SerialProgressWindow::SerialProgressWindow(QWidget *parent, const QString &cancelText)
    : QDialog(parent), label_(new QLabel(this)), gauge_(new QProgressBar(this)),
      cancel_(new QPushButton(cancelText.trimmed(), this))
{
    setObjectName(QStringLiteral("FRM_SERIEL_IO"));
    setModal(false);
    label_->setObjectName(QStringLiteral("lbl_seriell_io"));
    label_->setMinimumWidth(360);
    gauge_->setObjectName(QStringLiteral("ggefortschritt"));
    gauge_->setRange(0, GaugeMax);
    gauge_->setValue(0);
    cancel_->setObjectName(QStringLiteral("cmdAbbruch"));
    cancel_->setAutoDefault(false);
    connect(cancel_, &QPushButton::clicked, this, &SerialProgressWindow::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(gauge_);
    layout->addWidget(cancel_, 0, Qt::AlignRight);
}

void SerialProgressWindow::reject()
{
    cancelRequested_ = true;
    cancel_->setEnabled(false);
}

void SerialProgressWindow::begin(const QString &caption)
{
    setWindowTitle(caption);
    cancelRequested_ = false;
    cancel_->setEnabled(true);
    show();
    raise();
    // The transfer starts once the window is on screen.
    QElapsedTimer waited;
    waited.start();
    while (!isVisible() && waited.elapsed() < 1000)
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    loaded_ = true;
}

void SerialProgressWindow::setLabel(const QString &text)
{
    label_->setText(text);
}

void SerialProgressWindow::setGauge(int value)
{
    gauge_->setValue(value);
}

void SerialProgressWindow::end()
{
    hide();
    loaded_ = false;
}

} // namespace zx
