#pragma once

#include <functional>

class QWidget;

namespace zx {

struct AppContext;

// The device programming and device reading commands of the main window. `save` is the main
// window's Save operation (Save as when the program has no name yet; true when saved);
// `redraw` redraws the list of the current set afterwards.
void runWriteCommand(AppContext &context, const std::function<bool()> &save, QWidget *parent,
                     const std::function<void()> &redraw = {});
void runReadCommand(AppContext &context, const std::function<bool()> &save, QWidget *parent,
                    const std::function<void()> &redraw = {});

// The options dialog FrmMaster, modeless; it deletes itself when closed. `refreshStatus`
// refreshes the main window's status display for set 0.
QWidget *openMasterCardDialog(AppContext &context, const std::function<void()> &refreshStatus, QWidget *parent);

} // namespace zx
