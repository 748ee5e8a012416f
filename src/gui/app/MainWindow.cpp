#include "app/MainWindow.h"

#include "app/AppContext.h"

namespace zx {

MainWindow::MainWindow(AppContext &context, QWidget *parent)
    : QMainWindow(parent), ctx_(context)
{
    setObjectName(QStringLiteral("MDIForm1"));
}

} // namespace zx
