#include "app/AppFlow.h"

#include "app/AppContext.h"
#include "app/CommandWiring.h"
#include "app/MainWindow.h"
#include "app/QtTranslations.h"
#include "app/StartScreen.h"
#include "model/Model.h"

#include <utility>

namespace zx {

AppFlow::AppFlow(AppContext &context, std::function<void(QWidget *)> parentForMessages)
    : ctx_(context), parentForMessages_(std::move(parentForMessages))
{
}

AppFlow::~AppFlow()
{
    delete main_.data();
}

void AppFlow::showStartScreen()
{
    if (!start_) {
        start_ = std::make_unique<StartScreen>(ctx_);
        connect(start_.get(), &QDialog::accepted, this, &AppFlow::openMainWindow);
        connect(start_.get(), &QDialog::rejected, this, &AppFlow::finished);
    }
    if (parentForMessages_)
        parentForMessages_(start_.get());
    start_->prepare();
    start_->show();
    start_->raise();
    start_->activateWindow();
}

void AppFlow::openMainWindow()
{
    // The language chosen on the start screen also speaks in Qt's own dialogs.
    useQtTranslations(ctx_.model.device.Sprache);
    main_ = new MainWindow(ctx_);
    main_->setAttribute(Qt::WA_DeleteOnClose);
    connect(main_, &MainWindow::newRequested, this, &AppFlow::returnToStartScreen);
    wireCommands(*main_, ctx_);
    if (parentForMessages_)
        parentForMessages_(main_);
    main_->show();
    if (!pendingFile_.isEmpty()) {
        const QString path = std::exchange(pendingFile_, QString());
        main_->openProgramFile(path);
    }
}

void AppFlow::returnToStartScreen()
{
    // The start screen comes first, so that the program never stands without a window, which
    // would end it.
    QPointer<MainWindow> closing = main_;
    main_ = nullptr;
    showStartScreen();
    if (closing)
        closing->close();
}

} // namespace zx
