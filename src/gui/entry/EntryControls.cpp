#include "entry/EntryControls.h"

#include <QLabel>
#include <QListWidget>

namespace zx {

QListWidget *MakeEntryList(QWidget *parent, const QString &name, int rows)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(name);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setFixedHeight(rows * (list->fontMetrics().height() + 2) + 6);
    return list;
}

QLabel *MakeEntryLabel(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

void SelectListRow(QListWidget *list, int row)
{
    const QSignalBlocker block(list);
    if (row < 0 || row >= list->count()) {
        list->clearSelection();
        list->setCurrentRow(-1);
        return;
    }
    list->setCurrentRow(row);
    list->scrollToItem(list->item(row));
}

void SetTabChain(const std::vector<QWidget *> &controls)
{
    QWidget *previous = nullptr;
    for (QWidget *w : controls) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

void ClearListChoice(QListWidget *list)
{
    SelectListRow(list, -1);
}

} // namespace zx
