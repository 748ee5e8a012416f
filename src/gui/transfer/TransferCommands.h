#pragma once

#include <functional>

class QString;
class QWidget;

namespace zx {

struct AppContext;
class Catalogue;
class Model;

// The device programming and device reading commands of the main window. `save` is the main
// window's Save operation (Save as when the program has no name yet; true when saved);
// `redraw` redraws the list of the current set afterwards. True when the program reached the
// device, or the device's program was read and loaded. `verified` (when given) tells whether the
// write was read back, found the same and said so already.
bool runWriteCommand(AppContext &context, const std::function<bool()> &save, QWidget *parent,
                     const std::function<void()> &redraw = {}, bool *verified = nullptr);
bool runReadCommand(AppContext &context, const std::function<bool()> &save, QWidget *parent,
                    const std::function<void()> &redraw = {});

// Reads the device's program into set 0 of `document`, leaving the program in memory as it is.
bool runReadInto(AppContext &context, QWidget *parent, Model &document);

// Whether a write reads the device back and compares (remembered per kind of device: on by
// default for bus devices, where a read-back costs little next to a wrong device).
bool verifyAfterWrite(const Model &model);
void setVerifyAfterWrite(const Model &model, bool verify);

// The status bar line after a successful Program (writing) or Read: the command's name and
// the catalogue's "finished" text.
QString transferDoneText(const Catalogue &catalogue, bool writing);

// The options dialog FrmMaster, modeless; it deletes itself when closed. `refreshStatus`
// refreshes the main window's status display for set 0.
QWidget *openMasterCardDialog(AppContext &context, const std::function<void()> &refreshStatus,
                              QWidget *parent);

} // namespace zx
