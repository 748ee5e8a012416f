#include "help/HelpCommands.h"

#include "app/AppContext.h"
#include "help/HelpWindow.h"
#include "i18n/ExtraTexts.h"
#include "model/Model.h"
#include "platform/Prompter.h"

#include <QApplication>
#include <QKeyEvent>

namespace zx {

HelpCommands::HelpCommands(AppContext &ctx, QObject *parent) : QObject(parent), ctx_(ctx)
{
    qApp->installEventFilter(this);
}

HelpCommands::~HelpCommands()
{
    if (window_)
        window_->close();
}

HelpWindow *HelpCommands::show(const QString &page)
{
    const Model &m = ctx_.model;
    const QString folder = HelpFolder(ctx_.workDir, m.catalogue.helpFile);
    if (folder.isEmpty()) {
        ctx_.prompter.tell(extraText(ExtraText::HelpMissing, m.device.Sprache).arg(m.catalogue.helpFile),
                           Icon::Warning);
        return nullptr;
    }
    if (!window_)
        window_ = new HelpWindow(folder, m.device.Sprache);
    // An application-modal dialog blocks every window but its own: the help joins the dialog's
    // windows while it is open, so that it comes up in front and takes typing and scrolling.
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal != window_ && modal->windowModality() == Qt::ApplicationModal)
        moveHelpTo(modal);
    window_->showPage(page);
    window_->show();
    window_->raise();
    window_->activateWindow();
    return window_;
}

void HelpCommands::moveHelpTo(QWidget *owner)
{
    if (window_->parentWidget() == owner)
        return;
    const QRect geometry = window_->geometry();
    const bool shown = window_->isVisible();
    window_->setParent(owner, Qt::Window);
    window_->setGeometry(geometry);
    if (shown)
        window_->show();
}

bool HelpCommands::eventFilter(QObject *watched, QEvent *event)
{
    // The dialog the help lives in is closing: the help stays, on its own again.
    if (event->type() == QEvent::Hide && window_ && watched == window_->parentWidget())
        moveHelpTo(nullptr);
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1) {
        auto *widget = qobject_cast<QWidget *>(watched);
        QWidget *top = widget ? widget->window() : nullptr;
        // The main window has its own F1 (Help > contents) and the help window needs none; every
        // other window, dialog or not, opens its own page.
        const bool ownPage = top && top->windowType() != Qt::Popup &&
                             top->objectName() != QLatin1String("MDIForm1") &&
                             top->objectName() != QLatin1String("frmHilfe");
        if (ownPage) {
            show(HelpPageFor(top->objectName()));
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zx
