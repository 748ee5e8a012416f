#pragma once

#include "entry/TypedField.h"

#include <QObject>

#include <functional>

class QKeyEvent;
class QLineEdit;

namespace zx {

class Prompter;

// A typed field of an entry dialog: it takes the digits of its range and backspace (any other
// key is refused with a beep) and hands a typed value to the dialog only when it is in range.
// A field showing what its list holds is untouched; once the user types, the value has to be
// taken (leaving the field, or the dialog's OK through commit(); Return takes it and presses OK)
// before anything is stored. A refused value beeps and puts the focus back into the field.
class TypedFieldControl : public QObject {
    Q_OBJECT
  public:
    // Takes a checked value into the dialog's lists; false refuses it (a month that does not
    // exist ...).
    using Apply = std::function<bool(const TypedValue &)>;

    TypedFieldControl(QLineEdit *edit, FieldRange range, Prompter &prompter, Apply apply);

    QLineEdit *edit() const { return edit_; }
    const FieldRange &range() const { return range_; }
    void setRange(const FieldRange &range) { range_ = range; }
    // Leaving the field checks it only while checking is on (off while the dialog closes).
    void setChecking(bool on) { checking_ = on; }

    // Shows the value the dialog holds; the field counts as untouched.
    void show(const QString &text);
    bool edited() const { return edited_; }
    // Takes a typed value. True when the field is untouched or its value was taken; otherwise
    // the field refuses (beep, focus back, text selected) and the caller must not go on.
    bool commit();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    bool typedKey(QKeyEvent *key);
    void refuse();

    QLineEdit *edit_;
    FieldRange range_;
    Prompter &prompter_;
    Apply apply_;
    bool edited_ = false;
    bool refused_ = false; // the text was refused and not touched since: no second beep
    bool checking_ = true;
};

} // namespace zx
