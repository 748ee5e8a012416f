#include "platform/QtEventPump.h"

#include <QCoreApplication>
#include <QThread>

namespace zx {

QtEventPump::QtEventPump()
{
    timer_.start();
}

void QtEventPump::processEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    // Polling loops call this continuously; a short sleep keeps them from spinning a core.
    QThread::usleep(200);
}

void QtEventPump::pauseMs(int ms)
{
    const qint64 end = timer_.elapsed() + ms;
    while (timer_.elapsed() < end)
        processEvents();
}

} // namespace zx
