#pragma once

#include <QMainWindow>

namespace zx {

struct AppContext;

// The frame window MDIForm1 with its menus, header fields and the list window.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(AppContext &context, QWidget *parent = nullptr);

Q_SIGNALS:
    // The New command: the start screen opens again.
    void newRequested();

private:
    AppContext &ctx_;
};

} // namespace zx
