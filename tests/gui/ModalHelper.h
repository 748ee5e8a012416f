#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace zx::test {

// Runs `act` on the modal window named `name` as soon as it shows (a modal exec() blocks the
// test until `act` closes it). Gives up after about five seconds.
inline void whenModal(const QString &name, std::function<void(QWidget *)> act)
{
    auto tries = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [name, act, tries, poll] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == name && modal->isVisible()) {
            act(modal);
            *poll = nullptr; // breaks the self-reference
            return;
        }
        if (++*tries < 500)
            QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
}

} // namespace zx::test
