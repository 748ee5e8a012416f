#pragma once

#include "app/DeviceSettings.h"

#include <QDialog>

class QButtonGroup;
class QHBoxLayout;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace zx {

struct AppContext;

// The device properties dialog frmGerätEinst. Controls by objectName: cboSwRegel, cboLPT,
// txtDelay, txtMaxDelay, txtZeilen; type 236: fraAstro with optAstroC1, optAstroC1C2; type 517
// with Evu 1: fraMessImp with cboMessKanal, cboMessPeriode, cboMessImpDauer, cboMessZustand,
// cboMessZeitpunkt; type 517 with Evu 0: fraSprache with optDeutsch, optFranz; buttons cmdOk,
// cmdSpeichern (writes zentrix.ini) and cmdAbbrechen.
class DevicePropertiesDialog : public QDialog {
    Q_OBJECT
  public:
    explicit DevicePropertiesDialog(AppContext &context, QWidget *parent = nullptr);

    // The dialog's current choices.
    devicesettings::Choices choices() const;

  public Q_SLOTS:
    void confirm();
    // Writes zentrix.ini from the model and the current choices; true when written.
    bool saveConfiguration();

  private:
    QWidget *buildRuleBox(const devicesettings::Choices &initial);
    QWidget *buildAccessBox(const devicesettings::Choices &initial);
    QWidget *buildPrintBox(const devicesettings::Choices &initial);
    QWidget *buildAstroBox(const devicesettings::Choices &initial);
    QWidget *buildLanguageBox(const devicesettings::Choices &initial);
    QWidget *buildMeterBox(const devicesettings::Choices &initial);
    QHBoxLayout *buildButtons();
    void fillPulseLengths(int keepIndex);
    void updateMeterEnabling();
    void changed();

    AppContext &ctx_;
    devicesettings::Layout layout_;
    bool loading_ = true;

    QComboBox *rule_ = nullptr;
    QComboBox *port_ = nullptr;
    QSpinBox *delay_ = nullptr;
    QSpinBox *maxDelay_ = nullptr;
    QSpinBox *printHeaderInterval_ = nullptr;
    QRadioButton *astroC1_ = nullptr;
    QRadioButton *astroC1C2_ = nullptr;
    QRadioButton *german_ = nullptr;
    QRadioButton *french_ = nullptr;
    QComboBox *meterChannel_ = nullptr;
    QComboBox *period_ = nullptr;
    QComboBox *pulse_ = nullptr;
    QComboBox *meterState_ = nullptr;
    QComboBox *meterTiming_ = nullptr;
};

} // namespace zx
