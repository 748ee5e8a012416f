#include "entry/TypedFieldControl.h"

#include "platform/Prompter.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace zx {

namespace {

bool AllDigits(const QString &text)
{
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

TypedFieldControl::TypedFieldControl(QLineEdit *edit, FieldRange range, Prompter &prompter, Apply apply)
    : QObject(edit), edit_(edit), range_(range), prompter_(prompter), apply_(std::move(apply))
{
    edit_->setContextMenuPolicy(Qt::NoContextMenu); // no paste of arbitrary text
    edit_->installEventFilter(this);
    connect(edit_, &QLineEdit::textEdited, this, [this] {
        edited_ = true;
        refused_ = false;
    });
}

void TypedFieldControl::show(const QString &text)
{
    edit_->setText(text);
    edited_ = false;
    refused_ = false;
}

bool TypedFieldControl::commit()
{
    if (!edited_)
        return true;
    const TypedValue value = CheckTypedField(edit_->text(), range_);
    if (value.ok() && apply_(value)) {
        edited_ = false;
        refused_ = false;
        return true;
    }
    refuse();
    return false;
}

void TypedFieldControl::refuse()
{
    if (!refused_)
        prompter_.beep();
    refused_ = true;
    QTimer::singleShot(0, edit_, [edit = edit_] {
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    });
}

// Digits and backspace. Return takes the value and, when it is taken, goes on to the dialog,
// whose default button stores the entry as a click on OK does. Every other character is
// refused with a beep.
bool TypedFieldControl::typedKey(QKeyEvent *key)
{
    if (key->key() == Qt::Key_Backspace)
        return false;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        return !commit();
    const QString text = key->text();
    if (text.isEmpty())
        return false; // cursor and editing keys
    const QChar c = text.at(0);
    if (c == QLatin1Char('\t') || c == QLatin1Char('\x1b') || c.unicode() == 0x7F)
        return false;
    if (text.size() != 1 || c < QLatin1Char('0') || c > QLatin1Char('9')) {
        prompter_.beep();
        return true;
    }
    // The field shows a list text ("12  sec", "april"): typing starts a new number.
    QString rest = edit_->text();
    if (edit_->hasSelectedText())
        rest.remove(edit_->selectionStart(), edit_->selectedText().size());
    if (!AllDigits(rest)) {
        edit_->clear();
        rest.clear();
    }
    if (rest.size() >= range_.digits()) {
        prompter_.beep();
        return true;
    }
    return false;
}

bool TypedFieldControl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != edit_)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        return typedKey(static_cast<QKeyEvent *>(event));
    case QEvent::FocusIn:
        QTimer::singleShot(0, edit_, &QLineEdit::selectAll);
        break;
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (checking_ && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            commit();
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zx
