#pragma once

#include <QFrame>

#include <vector>

class QLabel;
class QLineEdit;
class QProgressBar;
class QToolButton;

namespace zx {

struct AppContext;

// The header fields of the main window (frame fraKopf) for the set shown: the program number
// txtProgrammnummer (utility option only), the use txtverwendung, the channel names
// txtkannam0 .. txtkannam8, the write protection AniSchreibschutz, the memory gauge ggeanzSz and
// the filter switch picfilter with imgfilt and imgnofilt. Only set 0 can be edited here.
class ProgramHeader : public QFrame {
    Q_OBJECT
  public:
    ProgramHeader(AppContext &context, QWidget *parent);

    // Shows the model's values.
    void refresh();
    void refreshFilterSwitch();
    // Takes texts still being typed into the model.
    void commit();

  Q_SIGNALS:
    // A text of set 0 changed in the model.
    void edited();
    void usedMemoryRequested();
    // A click on the filter switch turns the filter on or off; a double click opens its settings.
    void filterToggleRequested();
    void filterCommandRequested();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void commitProgramNumber();
    void commitUsageText();
    void commitChannelName(int index);

    AppContext &ctx_;
    bool filterDoubleClicked_ = false;
    QLabel *programNumberLabel_ = nullptr;
    QLineEdit *programNumber_ = nullptr;
    QLabel *usageLabel_ = nullptr;
    QLineEdit *usage_ = nullptr;
    std::vector<QLabel *> channelLabels_;
    std::vector<QLineEdit *> channelNames_;
    QToolButton *writeProtect_ = nullptr;
    QProgressBar *gauge_ = nullptr;
    QFrame *filterFrame_ = nullptr;
    QLabel *filterOnImage_ = nullptr;
    QLabel *filterOffImage_ = nullptr;
};

} // namespace zx
