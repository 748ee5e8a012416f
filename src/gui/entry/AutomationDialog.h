#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollBar;

namespace zx {

struct AppContext;

// The entry automation settings frmAutoEinst: the increments that prepare the next member of
// a series of switching times or priority times.
class AutomationDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AutomationDialog(AppContext &ctx, QWidget *parent = nullptr);

    // Shows the settings the model holds.
    void loadSettings();

  Q_SIGNALS:
    void settingsStored();

  private:
    void storeSettings();
    void refreshLabels();
    QString amountText(int amount, int one, int many) const;

    AppContext &ctx_;
    QLabel *heading_ = nullptr;
    QScrollBar *hsbincmin_ = nullptr;
    QScrollBar *hsbIncStd_ = nullptr;
    QScrollBar *hsbincTag_ = nullptr;
    QScrollBar *hsbwert_ = nullptr;
    QLabel *lblincmin_ = nullptr;
    QLabel *lblIncStd_ = nullptr;
    QLabel *lblincTag_ = nullptr;
    QLabel *lblincwert_ = nullptr;
    QLabel *lblwertHeading_ = nullptr;
    QCheckBox *chkincWtag_ = nullptr;
    QCheckBox *chkincMon_ = nullptr;
    QCheckBox *chkincPrio_ = nullptr;
    QCheckBox *chkincZust_ = nullptr;
    // Changeover table: ordinal and weekday of the advance (von) and the set-back (bis).
    QLabel *ruleHeading_ = nullptr;
    QComboBox *cbovonregel_ = nullptr;
    QComboBox *cbovonwtag_ = nullptr;
    QComboBox *cbobisregel_ = nullptr;
    QComboBox *cbobiswtag_ = nullptr;
    QPushButton *chkEinstOk_ = nullptr;
    QPushButton *cmdEinstend_ = nullptr;
};

} // namespace zx
