#pragma once

#include "model/Model.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QScrollBar;

namespace zx {

struct AppContext;

// The list filter frmfilter: shows the active filter, and OK makes the shown conditions the
// active filter and switches it on. Cancel leaves everything as it was.
//
// Controls by objectName: chkKan1 .. chkKan4, chkkan5 .. chkkan8, chkallKan; chkMo, chkDi,
// chkMi, chkDo, chkFr, chkSa, chkSo, chkallwtag; cbovonmon, cbobismon; cbovonp, cbobisp;
// cboimp; cboonoff; hsbwert with lblwert; cmdFilterok, cmdFilterend.
class FilterDialog : public QDialog {
    Q_OBJECT
  public:
    explicit FilterDialog(AppContext &ctx, QWidget *parent = nullptr);

    // The conditions as the controls hold them.
    ListFilter shownFilter() const;

  Q_SIGNALS:
    // OK: the filter is stored and on; the main window redraws.
    void filterChanged();

  private:
    void build();
    void showFilter(const ListFilter &f);
    void fillToMonths(int fromIndex);
    void fillToPrograms(int fromIndex);
    void confirm();

    AppContext &ctx_;
    int bus_ = 0;
    std::array<QCheckBox *, 8> channels_{};
    QCheckBox *allChannels_ = nullptr;
    std::array<QCheckBox *, 7> weekdays_{};
    QCheckBox *allWeekdays_ = nullptr;
    QComboBox *fromMonth_ = nullptr;
    QComboBox *toMonth_ = nullptr;
    QComboBox *fromProgram_ = nullptr;
    QComboBox *toProgram_ = nullptr;
    QComboBox *pulses_ = nullptr;
    QComboBox *state_ = nullptr;
    QScrollBar *value_ = nullptr;
    QLabel *valueLabel_ = nullptr;
};

} // namespace zx
