#include "transfer/SerialProgressWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace zx {

SerialProgressWindow::SerialProgressWindow(QWidget *parent)
    : QDialog(parent), label_(new QLabel(this)), gauge_(new QProgressBar(this))
{
    setObjectName(QStringLiteral("FRM_SERIEL_IO"));
    setModal(false);
    label_->setObjectName(QStringLiteral("lbl_seriell_io"));
    label_->setMinimumWidth(360);
    gauge_->setObjectName(QStringLiteral("ggefortschritt"));
    gauge_->setRange(0, GaugeMax);
    gauge_->setValue(0);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(gauge_);
}

void SerialProgressWindow::begin(const QString &caption)
{
    setWindowTitle(caption);
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
