#pragma once

#include <QObject>
#include <QRect>

class QWidget;

namespace zx {

// Windows on the screens users have: with 150 % or 200 % display scaling a laptop screen is
// 640 to 850 logical pixels wide, less than most forms were laid out for. Every window of the
// program is fitted when it first shows: a form that cannot shrink to the screen's available
// area goes into a scroll area (the row of buttons at its foot stays outside, always in view),
// the window's size is limited to that area and the window is moved fully onto it.
class ScreenFit : public QObject {
    Q_OBJECT
  public:
    // Fits every window of the application as it shows.
    static void install();
    // Fits one window now.
    static void fit(QWidget *window);
    // The available area of the screen the window is on (or will be shown on).
    static QRect availableArea(const QWidget *window);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    using QObject::QObject;
};

} // namespace zx
