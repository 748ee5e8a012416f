#pragma once

#include "app/MainWindow.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QWidget;

namespace zx {

struct AppContext;
class StartScreen;

// The windows of one run: the start screen, after its OK the main window, and after the New
// command the start screen again. Closing the start screen ends the program.
class AppFlow : public QObject {
    Q_OBJECT
  public:
    // parentForMessages is told which window message boxes belong to.
    AppFlow(AppContext &context, std::function<void(QWidget *)> parentForMessages = {});
    ~AppFlow() override;

    void showStartScreen();
    // A program file to open in the main window after the first OK of the start screen (the
    // file named on the command line).
    void openAfterStart(const QString &path) { pendingFile_ = path; }

    StartScreen *startScreen() const { return start_.get(); }
    MainWindow *mainWindow() const { return main_; }

  Q_SIGNALS:
    // The start screen was closed without OK.
    void finished();

  private:
    void openMainWindow();
    void returnToStartScreen();

    AppContext &ctx_;
    std::function<void(QWidget *)> parentForMessages_;
    std::unique_ptr<StartScreen> start_;
    QPointer<MainWindow> main_;
    QString pendingFile_;
};

} // namespace zx
