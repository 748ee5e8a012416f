#pragma once

#include <QString>

#include <vector>

class QLabel;
class QListWidget;
class QWidget;

namespace zx {

// The small builders and list helpers both entry dialogs (switching and priority times) lay out
// their controls with. Controls carry the form's control names as objectName.

// A single-selection list `rows` lines high.
QListWidget *MakeEntryList(QWidget *parent, const QString &name, int rows);
QLabel *MakeEntryLabel(QWidget *parent, const QString &name);

// Selects a row without running the list's own rules (they run where the dialog asks for them);
// a row outside the list clears the choice.
void SelectListRow(QListWidget *list, int row);
// No row chosen, again without the list's rules.
void ClearListChoice(QListWidget *list);

// Tab visits these controls in this order (Qt puts the others after them).
void SetTabChain(const std::vector<QWidget *> &controls);

} // namespace zx
