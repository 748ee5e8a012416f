#pragma once

#include "entry/MarkedRun.h"

#include "calendar/Changeover.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QTimer;

namespace zx {

struct AppContext;

// The changeover table entry frmEinSW: enters entries one by one (or all remaining with the
// edit assistant), changes the marked entries or copies marked entries from the template.
//
// Controls: Listvonstd, LstvonUmStd, listvontag, Lstvonmon (advance hour, shift, day, month),
// ListbisStd, LstbisUmStd, listbistag, LstbisMon (set-back), cboprojahr, vsbSWJahr and LblJahr,
// cmdswok, cmdSwEnd, cmdSwAlle, imgswok with Timer1, frmautopil with chkautopil and cmdautoneu.
class ChangeoverDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ChangeoverDialog(AppContext &ctx, QWidget *parent = nullptr);

    // Opens in the mode EditMode says (0 enter, 1 change, 2 copy from the template).
    void openInMode();
    // OK: stores the entry of the lists. False when it was refused.
    bool storeEntry();
    // "all": stores entries up to the last place of the table.
    void storeAll();
    // The day lists follow the automation for the year and months shown.
    void applyAutomation();

  Q_SIGNALS:
    void listChanged();
    void automationRequested();

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    ChangeoverEntry entryFromLists() const;
    void showEntry(const ChangeoverEntry &e);
    void limitDays();
    void refreshYear();
    // The year the scroll bar shows (it holds it negated, so that up is later).
    int year() const;
    void setYear(int year);
    void setLastYear(int last);
    void loadMarked();
    void finish();

    AppContext &ctx_;
    int mode_ = 0;
    MarkedRun run_; // the marked entries a change or copy run walks
    bool inAllRun_ = false;
    QComboBox *fromHour_, *fromShift_, *fromDay_, *fromMonth_;
    QComboBox *toHour_, *toShift_, *toDay_, *toMonth_;
    QComboBox *perYear_;
    QScrollBar *year_;
    QLabel *yearLabel_;
    QLabel *okImage_;
    QTimer *timer1_;
    QGroupBox *assistant_;
    QCheckBox *assistantActive_;
    QPushButton *assistantNew_;
    QPushButton *ok_, *exit_, *all_;
};

} // namespace zx
