#include "app/CompareWindow.h"

#include "app/ComparisonTexts.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zx {

namespace {

QTreeWidgetItem *rowItem(QTreeWidgetItem *parent, const QString &mark, const QStringList &cells,
                         const QColor &colour)
{
    auto *item = new QTreeWidgetItem(parent);
    item->setText(0, mark);
    for (int i = 0; i < cells.size(); ++i)
        item->setText(i + 1, cells[i].trimmed());
    for (int i = 0; i <= cells.size(); ++i)
        item->setBackground(i, colour);
    return item;
}

} // namespace

QColor CompareWindow::removedColour()
{
    return QColor(255, 205, 205);
}
QColor CompareWindow::addedColour()
{
    return QColor(205, 245, 205);
}
QColor CompareWindow::changedColour()
{
    return QColor(255, 240, 180);
}

CompareWindow::CompareWindow(int sprache, QWidget *parent) : QDialog(parent), sprache_(sprache)
{
    setObjectName(QStringLiteral("frmVergleich"));
    setWindowTitle(compareText(CompareText::CompareTitle, sprache));
    auto *layout = new QVBoxLayout(this);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("lblVergleich"));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("tvwUnterschiede"));
    tree_->setRootIsDecorated(true);
    tree_->setUniformRowHeights(true);
    tree_->header()->setVisible(false);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(summary_);
    layout->addWidget(tree_, 1);
    layout->addWidget(buttons);
    resize(DefaultWidth, DefaultHeight);
}

void CompareWindow::showDifferences(const ProgramDifferences &d, const QString &nameA, const QString &nameB)
{
    tree_->clear();
    int columns = 3;
    for (const ListDifference &l : d.lists)
        columns = std::max(columns, static_cast<int>(l.header.size()) + 1);
    tree_->setColumnCount(columns);
    // Which is which, always: the names say what was compared even when nothing differs.
    const QString names = QStringLiteral("A: %1\nB: %2").arg(nameA, nameB);
    summary_->setText(d.equal() ? names + QStringLiteral("\n\n") + compareText(CompareText::Equal, sprache_)
                                : names);
    const QString onlyIn = compareText(CompareText::OnlyIn, sprache_);
    for (const ListDifference &l : d.lists) {
        if (l.empty())
            continue;
        // The list's own column titles head its rows.
        auto *list = new QTreeWidgetItem(tree_);
        list->setText(0, l.title);
        for (int i = 0; i < l.header.size(); ++i)
            list->setText(i + 1, l.header[i].trimmed());
        QFont bold = list->font(0);
        bold.setBold(true);
        for (int i = 0; i < columns; ++i)
            list->setFont(i, bold);
        auto group = [&](const QString &title, const QColor &colour) {
            auto *g = new QTreeWidgetItem(list);
            g->setText(0, title);
            g->setBackground(0, colour);
            return g;
        };
        if (!l.onlyA.empty()) {
            QTreeWidgetItem *g = group(onlyIn.arg(QStringLiteral("A")), removedColour());
            for (const QStringList &r : l.onlyA)
                rowItem(g, QStringLiteral("A"), r, removedColour());
        }
        if (!l.onlyB.empty()) {
            QTreeWidgetItem *g = group(onlyIn.arg(QStringLiteral("B")), addedColour());
            for (const QStringList &r : l.onlyB)
                rowItem(g, QStringLiteral("B"), r, addedColour());
        }
        if (!l.changed.empty()) {
            QTreeWidgetItem *g = group(compareText(CompareText::Changed, sprache_), changedColour());
            for (const auto &[ra, rb] : l.changed) {
                rowItem(g, QStringLiteral("A"), ra, changedColour());
                rowItem(g, QStringLiteral("B"), rb, changedColour());
            }
        }
    }
    if (!d.settings.empty()) {
        auto *settings = new QTreeWidgetItem(tree_);
        settings->setText(0, compareText(CompareText::Settings, sprache_));
        settings->setText(1, QStringLiteral("A"));
        settings->setText(2, QStringLiteral("B"));
        QFont bold = settings->font(0);
        bold.setBold(true);
        for (int i = 0; i < 3; ++i)
            settings->setFont(i, bold);
        for (const SettingDifference &s : d.settings) {
            auto *item = new QTreeWidgetItem(settings);
            item->setText(0, s.name);
            item->setText(1, s.a);
            item->setText(2, s.b);
            for (int i = 0; i < 3; ++i)
                item->setBackground(i, changedColour());
        }
    }
    tree_->expandAll();
    for (int i = 0; i < columns; ++i)
        tree_->resizeColumnToContents(i);
    fitToContents();
}

// Equal programs show their names and the verdict alone, in a small window; differences get a
// window wide enough for every column, as far as the screen allows.
void CompareWindow::fitToContents()
{
    const bool any = tree_->topLevelItemCount() > 0;
    tree_->setVisible(any);
    if (!any) {
        setMinimumSize(0, 0);
        resize(std::max(summary_->sizeHint().width() + 40, 420), sizeHint().height());
        return;
    }
    int columnsWidth = 0;
    for (int i = 0; i < tree_->columnCount(); ++i)
        columnsWidth += tree_->columnWidth(i);
    const int chrome = 2 * tree_->frameWidth() + tree_->verticalScrollBar()->sizeHint().width() +
                       layout()->contentsMargins().left() + layout()->contentsMargins().right() + 8;
    int width = std::max(DefaultWidth, columnsWidth + chrome);
    if (const QScreen *screen = this->screen())
        width = std::min(width, screen->availableGeometry().width() * 9 / 10);
    resize(width, std::max(height(), DefaultHeight));
}

} // namespace zx
