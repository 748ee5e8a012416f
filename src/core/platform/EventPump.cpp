#include "platform/EventPump.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QThread>

namespace zx {

void SleepingEventPump::processEvents()
{
    QThread::usleep(500);
}

qint64 SleepingEventPump::monotonicMs() const
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer.elapsed();
}

void SleepingEventPump::pauseMs(int ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

} // namespace zx
