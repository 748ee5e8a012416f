#pragma once

// Walks the Tab chain of a dialog the way a keyboard user does and checks where it goes:
//
//   std::vector<QWidget *> chain = test::TabChain(&dialog);          // one round of Tab presses
//   test::ExpectReadingOrder(chain);                                   // visible, never back up-left
//   test::ExpectTabReachesEveryControl(&dialog, chain);               // no visible control skipped
//   test::ExpectTabInReadingOrder(&dialog);                            // all three in one call
//
// Reading order here is that of a form read left to right and top to bottom, whether its
// controls stand in rows or in columns: a Tab step never goes to a control that lies wholly
// above the current one and not to its right, nor to one wholly left of it and not below it.

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QPushButton>
#include <QRect>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
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

// A control's place in the dialog's coordinates.
inline QRect PlaceIn(const QWidget *dialog, const QWidget *w)
{
    return QRect(w->mapTo(dialog, QPoint(0, 0)), w->size());
}

// The name a failure message shows: objectName, else the class.
inline std::string NameOf(const QWidget *w)
{
    const QString name = w->objectName();
    return (name.isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : name).toStdString();
}

// True when going from `from` to `to` moves back against reading order. `slack` pixels of
// overlap are forgiven: layouts let neighbours touch.
inline bool GoesBack(const QRect &from, const QRect &to, int slack = 4)
{
    const bool whollyAbove = to.bottom() <= from.top() + slack;
    const bool whollyLeft = to.right() <= from.left() + slack;
    const bool notRight = to.left() < from.right() - slack;
    const bool notBelow = to.top() < from.bottom() - slack;
    return (whollyAbove && notRight) || (whollyLeft && notBelow);
}

// Shows the dialog, gives the focus to a control of its Tab chain and presses Tab until the focus
// comes back round (or leaves the dialog). Returns the controls in the order visited.
inline std::vector<QWidget *> TabChain(QWidget *dialog)
{
    std::vector<QWidget *> chain;
    if (!dialog->isVisible())
        dialog->show();
    dialog->activateWindow();
    QApplication::setActiveWindow(dialog);
    QApplication::processEvents();
    QWidget *first = nullptr;
    for (QWidget *w = dialog->nextInFocusChain(); w && w != dialog; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled() &&
            dialog->isAncestorOf(w)) {
            first = w;
            break;
        }
    }
    if (!first)
        return chain;
    first->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QWidget *at = QApplication::focusWidget();
    // A round can never be longer than the dialog has children.
    const auto limit = dialog->findChildren<QWidget *>().size() + 1;
    while (at && dialog->isAncestorOf(at) && chain.size() < static_cast<std::size_t>(limit)) {
        if (std::find(chain.begin(), chain.end(), at) != chain.end())
            break;
        chain.push_back(at);
        QTest::keyClick(at, Qt::Key_Tab);
        QApplication::processEvents();
        at = QApplication::focusWidget();
    }
    return chain;
}

// The steps of `chain` (taken as a circle that starts at `start`) that go back against reading order.
inline std::vector<std::size_t> BackSteps(const QWidget *dialog, const std::vector<QWidget *> &chain,
                                          std::size_t start)
{
    std::vector<std::size_t> back;
    for (std::size_t step = 1; step < chain.size(); ++step) {
        const std::size_t at = (start + step) % chain.size();
        const std::size_t before = (start + step - 1) % chain.size();
        if (GoesBack(PlaceIn(dialog, chain[before]), PlaceIn(dialog, chain[at])))
            back.push_back(at);
    }
    return back;
}

// Every control of the chain is visible, and no step goes back against reading order. Tab goes
// round, so the round may have been entered anywhere: the check reads it from the control where
// it reads best, and only the step from the last control back to the first may go back.
inline void ExpectReadingOrder(const QWidget *dialog, const std::vector<QWidget *> &chain)
{
    for (QWidget *w : chain)
        EXPECT_TRUE(w->isVisible()) << "Tab visits the hidden " << NameOf(w);
    if (chain.empty())
        return;
    std::size_t bestStart = 0;
    std::vector<std::size_t> best = BackSteps(dialog, chain, 0);
    for (std::size_t start = 1; start < chain.size() && !best.empty(); ++start) {
        std::vector<std::size_t> back = BackSteps(dialog, chain, start);
        if (back.size() < best.size()) {
            best = std::move(back);
            bestStart = start;
        }
    }
    for (std::size_t at : best) {
        const std::size_t before = (at + chain.size() - 1) % chain.size();
        ADD_FAILURE() << "Tab goes back from " << NameOf(chain[before]) << " to " << NameOf(chain[at])
                      << " (the round read from " << NameOf(chain[bestStart]) << ")";
    }
}

// Every visible, enabled control that takes Tab focus is in the chain. Of a group of exclusive
// buttons Tab visits one (the arrow keys choose within it), so such a group counts once.
inline void ExpectTabReachesEveryControl(const QWidget *dialog, const std::vector<QWidget *> &chain)
{
    const auto inChain = [&chain](const QWidget *w) {
        return std::find(chain.begin(), chain.end(), w) != chain.end();
    };
    for (QWidget *w : dialog->findChildren<QWidget *>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || !w->isEnabled() || inChain(w))
            continue;
        if (const auto *button = qobject_cast<const QAbstractButton *>(w);
            button && button->group() && button->group()->exclusive()) {
            const auto members = button->group()->buttons();
            if (std::any_of(members.begin(), members.end(), [&](QAbstractButton *b) { return inChain(b); }))
                continue;
        }
        if (w->focusProxy() && inChain(w->focusProxy()))
            continue;
        ADD_FAILURE() << "Tab never reaches " << NameOf(w);
    }
}

// One round of Tab through `dialog`: visible controls only, all of them, in reading order.
inline void ExpectTabInReadingOrder(QWidget *dialog)
{
    const std::vector<QWidget *> chain = TabChain(dialog);
    ASSERT_FALSE(chain.empty()) << "no control of " << NameOf(dialog) << " takes the focus";
    ExpectReadingOrder(dialog, chain);
    ExpectTabReachesEveryControl(dialog, chain);
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
