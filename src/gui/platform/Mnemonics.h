#pragma once

#include <QChar>
#include <QSet>
#include <QString>

class QMenu;
class QMenuBar;
class QWidget;

namespace zx {

// Alt+letter for the keyboard: the texts come from the catalogue of the chosen language (or a
// loaded language file), where two commands of a menu may mark the same letter, or none. These
// rules give every command of a menu, and every label that names a field, a letter of its own
// text that nothing else of its menu or window uses; a text keeps its own letter while it is free.

// The letter Alt+letter chooses in `text` (lower case), or a null QChar when it marks none.
QChar MnemonicOf(const QString &text);
// The text without its mark; "&&", a shown "&", stays.
QString WithoutMnemonic(const QString &text);
// `text` with a letter that is not in `taken` marked (its own when free, else the first free
// letter that begins a word, else the first free letter), the letter added to `taken`. A text
// without a free letter is returned without a mark.
QString WithFreeMnemonic(const QString &text, QSet<QChar> &taken);

// Every command of the menu (or menu bar) gets a letter of its own.
void AssignMnemonics(QMenu *menu);
void AssignMnemonics(QMenuBar *bar);
// Every label with a buddy in `window` gets a letter no button, box or other label there uses.
void AssignLabelMnemonics(QWidget *window);

} // namespace zx
