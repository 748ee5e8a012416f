#include "platform/FocusKeeper.h"

#include "platform/Mnemonics.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>

namespace zx {

namespace {

QPointer<FocusKeeper> installed;
constexpr int ActivationDelayMs = 150;

void activateMainWindow()
{
    if (QApplication::activeWindow() || QApplication::activeModalWidget())
        return;
    // Another dialog still open takes the activation back itself.
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->windowType() == Qt::Dialog)
            return;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow *>(top) && top->isVisible()) {
            top->raise();
            top->activateWindow();
            return;
        }
    }
}

} // namespace

void FocusKeeper::install()
{
    if (installed || !qApp)
        return;
    installed = new FocusKeeper(qApp);
    qApp->installEventFilter(installed);
}

namespace {

constexpr char FocusFrameProperty[] = "zxFocusFrame";

// Views draw a focus rectangle on their current row only; without one the focus is invisible.
// While a view has the focus it gets a frame in the highlight colour (only views without a style
// sheet or focus frame of their own, and only while focused, so nothing else pays for style
// sheets).
void showFocusFrame(QAbstractItemView *view, bool focused)
{
    if (focused && view->styleSheet().isEmpty() && !view->property(OwnFocusFrameProperty).toBool()) {
        view->setProperty(FocusFrameProperty, true);
        view->setStyleSheet(QStringLiteral("QAbstractItemView { border: 2px solid palette(highlight); }"));
    } else if (!focused && view->property(FocusFrameProperty).toBool()) {
        view->setProperty(FocusFrameProperty, false);
        view->setStyleSheet(QString());
    }
}

} // namespace

bool FocusKeeper::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusOut:
        if (auto *view = qobject_cast<QAbstractItemView *>(watched))
            showFocusFrame(view, false);
        break;
    case QEvent::FocusIn: {
        auto *view = qobject_cast<QAbstractItemView *>(watched);
        if (!view || passingFocus_)
            break;
        showFocusFrame(view, true);
        if (!view->selectionModel() || view->currentIndex().isValid())
            break;
        // Let the view take the focus with its selection model silent, then take back the row
        // it made current on its own.
        passingFocus_ = true;
        {
            const QSignalBlocker quiet(view->selectionModel());
            QCoreApplication::sendEvent(view, event);
            view->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        }
        passingFocus_ = false;
        view->viewport()->update();
        return true;
    }
    case QEvent::Show:
        // Commands join menus from several places and their texts change (undo names its step):
        // the letters are settled each time a menu opens.
        if (auto *menu = qobject_cast<QMenu *>(watched))
            AssignMnemonics(menu);
        else if (auto *bar = qobject_cast<QMenuBar *>(watched))
            AssignMnemonics(bar);
        break;
    case QEvent::Hide: {
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && w->isWindow() && w->windowType() == Qt::Dialog)
            // The window system activates the window below on its own, a little later; only when
            // none is active then does the main window take the keys.
            QTimer::singleShot(ActivationDelayMs, qApp, &activateMainWindow);
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zx
