#pragma once

#include <QColor>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

class QLabel;

namespace zx {

// The start screen's controls in the brand's colours, each painting itself. A style sheet would
// give the same look, but Qt's style sheet style has to parse it and polish every control under
// it before the first window can show; that was the largest part of our own start-up work.

// The colours the controls take from the brand.
struct BrandColours {
    QColor primary; // captions, frames of the chosen or focused control, the OK button
    QColor hover;   // the OK button under the mouse
    QColor line;    // the frames of the controls not chosen
    QColor chosen;  // the background of the chosen language
};
BrandColours BrandColoursFor(const QColor &primary, const QColor &secondary);

// A caption above a group of choices: bold, in the brand colour.
QLabel *BrandCaption(const QString &text, const BrandColours &colours);

// A choice with its picture above its text (the languages): white with a thin frame, the chosen
// one on the brand's background with a bold text and a strong frame, the focused one with a
// dashed frame.
class BrandChoiceButton : public QToolButton {
  public:
    explicit BrandChoiceButton(const BrandColours &colours, QWidget *parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    BrandColours colours_;
};

// A push button filled with the brand colour and a white bold text (Filled, the OK), or white
// with the brand colour's text and frame (Outlined).
class BrandPushButton : public QPushButton {
  public:
    enum class Look { Filled, Outlined };
    BrandPushButton(const QString &text, Look look, const BrandColours &colours, QWidget *parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    QSize padding() const;

    Look look_;
    BrandColours colours_;
};

// A list on white with roomy rows, the current row in the brand colour whether or not the list
// has the focus, and a frame that turns to the brand colour while it has the focus.
class BrandList : public QListWidget {
  public:
    explicit BrandList(const BrandColours &colours, QWidget *parent = nullptr);

  protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

  private:
    void showFocus(bool focused);

    BrandColours colours_;
};

} // namespace zx
