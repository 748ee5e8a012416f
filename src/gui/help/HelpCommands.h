#pragma once

#include <QObject>
#include <QPointer>

namespace zx {

struct AppContext;
class HelpWindow;

// Help > contents and F1: opens the help of the catalogue's language in our own help window,
// F1 in a dialog at the page of that dialog.
class HelpCommands : public QObject {
    Q_OBJECT
  public:
    HelpCommands(AppContext &ctx, QObject *parent);
    // The help window goes with the main window it belongs to.
    ~HelpCommands() override;

    // Shows `page` of the help, opening the window when it is not open yet. nullptr (after a
    // message) when the help is missing.
    HelpWindow *show(const QString &page = QStringLiteral("index.html"));

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    // Makes the help window a window of `owner` (nullptr: a window of its own), keeping its place.
    void moveHelpTo(QWidget *owner);

    AppContext &ctx_;
    QPointer<HelpWindow> window_;
};

} // namespace zx
