#pragma once

#include "output/PrintDriver.h"

#include <QDialog>

class QCheckBox;
class QLabel;

namespace zx {

struct AppContext;

// The print dialog frmDruck: which lists to print, and whether into the list text file.
//
// Controls by objectName: chkprsz, chkprpz, chkprsw, Chkprastro (astro device only), chktxtdat,
// chkcsv (the text file as a CSV table),
// fraKopfZeil with lblZeilen and cmdprändern, cmdprdruck, cmdprvorschau (print preview),
// cmdprcancel.
class PrintDialog : public QDialog {
    Q_OBJECT
  public:
    PrintDialog(AppContext &ctx, PrintSettings &settings, QWidget *parent = nullptr);

    // How the dialog was left: print, preview or cancelled.
    enum class Choice { Cancel, Print, Preview };
    Choice choice() const { return choice_; }

  Q_SIGNALS:
    // "Change" opened the device properties; the main window may need a redraw.
    void propertiesChanged();

  private:
    void takeFlags();
    void refreshInterval();
    void refreshFileName();

    AppContext &ctx_;
    PrintSettings &settings_;
    Choice choice_ = Choice::Cancel;
    QCheckBox *switching_ = nullptr;
    QCheckBox *priority_ = nullptr;
    QCheckBox *changeover_ = nullptr;
    QCheckBox *astro_ = nullptr;
    QCheckBox *toFile_ = nullptr;
    QCheckBox *csv_ = nullptr;
    QLabel *interval_ = nullptr;
};

} // namespace zx
