#pragma once

#include <QFrame>

#include <vector>

class QGridLayout;
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
    // As narrow as the channel names wrapped into rows of ChannelsPerWrappedRow allow.
    QSize minimumSizeHint() const override;
    // Channel name fields per row when the header is too narrow for all of them in one row.
    static constexpr int ChannelsPerWrappedRow = 4;

  Q_SIGNALS:
    // A text of set 0 changed in the model.
    void edited();
    void usedMemoryRequested();
    // A click on the filter switch turns the filter on or off; a double click opens its settings.
    void filterToggleRequested();
    void filterCommandRequested();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

  private:
    void commitProgramNumber();
    void commitUsageText();
    void commitChannelName(int index);
    // Puts the channel name fields into rows of perRow.
    void arrangeChannelNames(int perRow);
    // One row or wrapped rows, whichever the header's width allows.
    void fitChannelNames();
    // The least width of the shown channel names in rows of perRow, and of the fields above them.
    int channelNamesWidth(int perRow) const;
    int firstRowWidth() const;

    AppContext &ctx_;
    bool filterDoubleClicked_ = false;
    QLabel *programNumberLabel_ = nullptr;
    QLineEdit *programNumber_ = nullptr;
    QLabel *usageLabel_ = nullptr;
    QLineEdit *usage_ = nullptr;
    std::vector<QLabel *> channelLabels_;
    std::vector<QLineEdit *> channelNames_;
    QGridLayout *names_ = nullptr;
    int namesPerRow_ = 0;
    QToolButton *writeProtect_ = nullptr;
    QProgressBar *gauge_ = nullptr;
    QFrame *filterFrame_ = nullptr;
    QLabel *filterOnImage_ = nullptr;
    QLabel *filterOffImage_ = nullptr;
};

} // namespace zx
