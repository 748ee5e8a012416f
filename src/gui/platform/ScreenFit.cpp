#include "platform/ScreenFit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace zx {

namespace {

constexpr char FittedProperty[] = "zxScreenFitted";
constexpr int FramedDelayMs = 300;

QPointer<ScreenFit> installed;

// Our own windows are rearranged when they do not fit; Qt's dialogs only get sized and placed.
bool isOurs(const QWidget *w)
{
    return QByteArray(w->metaObject()->className()).startsWith("zx::");
}

bool isButton(const QWidget *w)
{
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QDialogButtonBox *>(w);
}

// A row that holds buttons (and spacing) only: the OK and Cancel at the foot of a form.
bool isButtonRow(QLayoutItem *item)
{
    if (QWidget *w = item->widget())
        return isButton(w);
    QLayout *row = item->layout();
    if (!row)
        return false;
    bool any = false;
    for (int i = 0; i < row->count(); ++i) {
        QLayoutItem *child = row->itemAt(i);
        if (child->spacerItem())
            continue;
        if (child->widget() && !isButton(child->widget()))
            return false;
        if (child->layout() && !isButtonRow(child))
            return false;
        any = true;
    }
    return any;
}

QScrollArea *newScrollArea(QWidget *content)
{
    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("zxFitScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    return scroll;
}

void wrapInScrollArea(QWidget *window)
{
    if (auto *main = qobject_cast<QMainWindow *>(window)) {
        QWidget *central = main->centralWidget();
        if (!central || qobject_cast<QScrollArea *>(central))
            return;
        main->takeCentralWidget();
        main->setCentralWidget(newScrollArea(central));
        return;
    }
    QLayout *form = window->layout();
    if (!form)
        return;
    QLayoutItem *buttons = nullptr;
    auto *box = qobject_cast<QBoxLayout *>(form);
    if (box && box->direction() == QBoxLayout::TopToBottom && box->count() > 1 &&
        isButtonRow(box->itemAt(box->count() - 1)))
        buttons = box->takeAt(box->count() - 1);
    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("zxFitContent"));
    // Takes the layout away from the window, with the widgets it arranges.
    content->setLayout(form);
    auto *outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(newScrollArea(content), 1);
    if (!buttons)
        return;
    const QMargins m = form->contentsMargins();
    if (QLayout *row = buttons->layout()) {
        row->setParent(nullptr);
        row->setContentsMargins(m.left(), m.bottom() / 2, m.right(), m.bottom());
        outer->addLayout(row);
    } else {
        auto *single = new QHBoxLayout;
        single->setContentsMargins(m.left(), m.bottom() / 2, m.right(), m.bottom());
        single->addWidget(buttons->widget());
        outer->addLayout(single);
        delete buttons;
    }
}

QSize frameExtra(const QWidget *window)
{
    const QSize extra = window->frameGeometry().size() - window->geometry().size();
    if (extra.width() > 0 || extra.height() > 0)
        return QSize(std::max(0, extra.width()), std::max(0, extra.height()));
    // Before the window manager has framed a window its frame is unknown, though it will have
    // one: a title bar and borders are allowed for, or a window fitted to the screen's height
    // ends below the screen by its title bar.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal") ||
        window->windowFlags().testFlag(Qt::FramelessWindowHint))
        return {};
    const int border = 2 * window->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int title = window->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8;
    return QSize(2 * border, title + 2 * border);
}

} // namespace

void ScreenFit::install()
{
    if (!installed && qApp) {
        installed = new ScreenFit(qApp);
        qApp->installEventFilter(installed);
    }
}

QRect ScreenFit::availableArea(const QWidget *window)
{
    QScreen *screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void ScreenFit::fit(QWidget *window)
{
    const QRect area = availableArea(window);
    if (area.isEmpty())
        return;
    const QSize extra = frameExtra(window);
    const QSize room = area.size() - extra;
    if (!window->property(FittedProperty).toBool()) {
        window->setProperty(FittedProperty, true);
        const QSize before = window->size();
        const QSize need = window->minimumSizeHint().expandedTo(window->minimumSize());
        if (isOurs(window) && (need.width() > room.width() || need.height() > room.height())) {
            wrapInScrollArea(window);
            window->setMinimumSize(window->minimumSize().boundedTo(room));
            window->resize(before.expandedTo(window->minimumSizeHint()).boundedTo(room));
        }
    }
    if (window->width() > room.width() || window->height() > room.height())
        window->resize(window->size().boundedTo(room));
    // The whole window, frame included, on the screen.
    const QSize outer = window->size() + extra;
    const int x =
        std::clamp(window->x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width()));
    const int y =
        std::clamp(window->y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height()));
    if (QPoint(x, y) != window->pos())
        window->move(x, y);
}

bool ScreenFit::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto *w = static_cast<QWidget *>(watched);
        const Qt::WindowType type = w->windowType();
        if (w->isWindow() && (type == Qt::Window || type == Qt::Dialog)) {
            fit(w);
            // Once the window manager has framed and placed the window (it may centre it over its
            // parent), it is fitted again with the frame it really has.
            QTimer::singleShot(FramedDelayMs, w, [window = QPointer<QWidget>(w)] {
                if (window && window->isVisible())
                    fit(window);
            });
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zx
