#pragma once

// Keyboard walks over a shown dialog: the Tab chain from the first focus, and what Return and
// Escape do.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QRect>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zx::test {

// Shows `dialog` and makes it the active window, so that keys go where a user's would.
inline void showActive(QWidget &dialog)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.activateWindow();
    (void)QTest::qWaitForWindowActive(&dialog, 1000);
    QApplication::processEvents();
}

// The widgets Tab visits, from the focus the dialog opens with, until the chain comes round.
inline std::vector<QWidget *> tabChain(QWidget &dialog)
{
    std::vector<QWidget *> visited;
    QWidget *first = QApplication::focusWidget();
    if (!first || first->window() != &dialog)
        return visited;
    QWidget *current = first;
    for (int step = 0; step < 80; ++step) {
        visited.push_back(current);
        QTest::keyClick(current, Qt::Key_Tab);
        QWidget *next = QApplication::focusWidget();
        if (!next || next == first || next == current)
            break;
        current = next;
    }
    return visited;
}

inline std::string describe(const QWidget *w)
{
    const QString name =
        w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
    return name.toStdString();
}

inline QRect placeIn(const QWidget &dialog, const QWidget *w)
{
    return QRect(w->mapTo(&dialog, QPoint(0, 0)), w->size());
}

// Every control of the chain can be seen and used, and each comes after the one before it in
// reading order: further down, or to the right on the same line, or at the top of the next
// column to the right. Returns the faults found, empty when none.
inline std::vector<std::string> tabChainFaults(QWidget &dialog, const std::vector<QWidget *> &chain)
{
    std::vector<std::string> faults;
    const QRect inside = dialog.rect();
    for (const QWidget *w : chain) {
        const QRect r = placeIn(dialog, w);
        if (!w->isVisible() || !w->isEnabled() || r.isEmpty() || !inside.intersects(r))
            faults.push_back(describe(w) + " is visited but cannot be seen or used");
    }
    for (size_t i = 1; i < chain.size(); ++i) {
        const QRect a = placeIn(dialog, chain[i - 1]);
        const QRect b = placeIn(dialog, chain[i]);
        const bool sameLine = b.top() < a.bottom() && a.top() < b.bottom();
        const bool above = b.bottom() < a.top();
        const bool nextColumn = b.left() >= a.right();
        if ((sameLine && b.right() <= a.left()) || (above && !nextColumn))
            faults.push_back(describe(chain[i]) + " comes after " + describe(chain[i - 1]) +
                             " out of reading order");
    }
    return faults;
}

// The dialog's default button: the one Return presses.
inline QPushButton *defaultButton(QWidget &dialog)
{
    for (QPushButton *b : dialog.findChildren<QPushButton *>())
        if (b->isDefault() && b->isVisible())
            return b;
    return nullptr;
}

} // namespace zx::test
