#pragma once

#include <functional>

class QString;
class QWidget;

namespace zx {

struct AppContext;
class Catalogue;

// The device programming and device reading commands of the main window. `save` is the main
// window's Save operation (Save as when the program has no name yet; true when saved);
// `redraw` redraws the list of the current set afterwards. True when the program reached the
// device, or the device's program was read and loaded.
bool runWriteCommand(AppContext &context, const std::function<bool()> &save, QWidget *parent,
                     const std::function<void()> &redraw = {});
bool runReadCommand(AppContext &context, const std::function<bool()> &save, QWidget *parent,
                    const std::function<void()> &redraw = {});

// The status bar line after a successful Program (writing) or Read: the command's name and
// the catalogue's "finished" text.
QString transferDoneText(const Catalogue &catalogue, bool writing);

// The options dialog FrmMaster, modeless; it deletes itself when closed. `refreshStatus`
// refreshes the main window's status display for set 0.
QWidget *openMasterCardDialog(AppContext &context, const std::function<void()> &refreshStatus, QWidget *parent);

} // namespace zx
