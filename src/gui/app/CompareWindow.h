#pragma once

#include "app/ProgramComparison.h"

#include <QDialog>

class QLabel;
class QTreeWidget;

namespace zx {

// The differences between the program and another one (a file, or what the device holds):
// for each list the rows only in the program (red), only in the other (green) and changed
// (yellow, the program's row above the other's), in the list's columns; then the settings.
// Controls: frmVergleich, lblVergleich, tvwUnterschiede.
class CompareWindow : public QDialog {
    Q_OBJECT
  public:
    explicit CompareWindow(int sprache, QWidget *parent = nullptr);

    void showDifferences(const ProgramDifferences &d, const QString &nameA, const QString &nameB);
    QTreeWidget *tree() const { return tree_; }

    static QColor removedColour();
    static QColor addedColour();
    static QColor changedColour();

  private:
    static constexpr int DefaultWidth = 900;
    static constexpr int DefaultHeight = 560;
    void fitToContents();

    int sprache_;
    QLabel *summary_ = nullptr;
    QTreeWidget *tree_ = nullptr;
};

} // namespace zx
