#pragma once

#include "entry/AstroTimeChange.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace zx {

struct AppContext;

// The astro time change frm_change_grid_data: delete (Opt_del), change to (opt_Ändern) or
// shift by (opt_verschieben) in frame Fra_zeit_ändern; the hour and minute lists liststd and
// listmin, the typed fields txtAnzstd and txtAnzMin, the labels LblÜsstd, LblÜsMin, lbldpp and
// LblAnzUhr; the direction of a shift cboRichtung ("+" forward, "-" back); cmdSzOk and cmdSzEnd. The dialog
// only collects the choice; the opener applies it.
class AstroTimeChangeDialog : public QDialog {
    Q_OBJECT
  public:
    // `value`: the clicked cell's time (minutes or NoAstroTime); `option`: the option chosen last.
    AstroTimeChangeDialog(AppContext &ctx, int value, ChangeOption option, QWidget *parent = nullptr);

    // The option shown when the dialog closed, for the next opening.
    ChangeOption option() const { return option_; }
    // The change Ok stands for (valid once the dialog was accepted).
    TimeChange change() const { return change_; }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void chooseOption(ChangeOption option);
    void selectTime(int hours, int minutes);
    // A typed field's value when it is a number within its range.
    std::optional<int> typedValue(QLineEdit *field) const;
    void typedFieldLeft(QLineEdit *field);
    void confirm();

    AppContext &ctx_;
    int value_;
    ChangeOption option_;
    TimeChange change_;
    QRadioButton *optDel_ = nullptr;
    QRadioButton *optAendern_ = nullptr;
    QRadioButton *optVerschieben_ = nullptr;
    QComboBox *direction_ = nullptr;
    QListWidget *liststd_ = nullptr;
    QListWidget *listmin_ = nullptr;
    QLineEdit *txtAnzstd_ = nullptr;
    QLineEdit *txtAnzMin_ = nullptr;
    QLabel *lblHours_ = nullptr;
    QLabel *lblMinutes_ = nullptr;
    QLabel *lbldpp_ = nullptr;
    QLabel *lblAnzUhr_ = nullptr;
};

} // namespace zx
