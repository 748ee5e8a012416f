#pragma once

#include <QObject>

namespace zx {

// A list with this property set true draws its own focus frame; the frame below leaves it alone.
inline constexpr char OwnFocusFrameProperty[] = "zxOwnFocusFrame";

// Keyboard-only work, for every window of the program:
// - a list that receives focus while nothing in it is chosen stays without a choice (Qt would
//   make its first row current, and the entry dialogs take a current row as the user's choice);
// - a focused list shows a frame, as every other focused control shows its focus;
// - when a dialog closes and leaves no window active (a message box that ended the dialog had
//   taken the activation with it), the main window becomes active again, so keys are not lost.
// - every menu and the menu bar give each command a letter of its own for Alt+letter when they
//   show (Mnemonics.h).
class FocusKeeper : public QObject {
    Q_OBJECT
  public:
    static void install();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    using QObject::QObject;
    bool passingFocus_ = false;
};

} // namespace zx
