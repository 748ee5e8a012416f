#pragma once

#include "model/Model.h"

#include <QByteArray>
#include <QDateTime>

namespace zx {

// The program document of set 0 at one moment: records (every slot, since the image writer
// copies free slots as they stand), changeover table, header bytes, program number, texts,
// device properties, device options and astro data. The whole is a few kilobytes, so an undo
// step keeps the document before and after instead of working out what an operation did;
// restoring a snapshot is exact whichever dialog, command or transfer made the change.
//
// Not part of it: the file name (taking a change back does not move the document to another
// file), the user interface language and whether bus programming is offered on this PC (both
// settings of the installation, kept in the configuration file), the template set and the
// editor state.
class ProgramSnapshot {
  public:
    static ProgramSnapshot take(const Model &model);
    // Puts the document back into set 0 and the device; marks are dropped, since they name
    // record indexes of the document that was there.
    void restore(Model &model) const;

    // The program file's text this document saves as, stamped with `now`.
    QByteArray fileText(const QDateTime &now) const;

    const ProgramSet &program() const { return program_; }
    const DeviceProperties &device() const { return device_; }
    const DeviceOptions &options() const { return options_; }
    const AstroData &astro() const { return astro_; }

    // True when the two differ at most in the order of the records in use (a list sorted by
    // another column): the same program, shown differently.
    bool sameExceptOrder(const ProgramSnapshot &other) const;

    friend bool operator==(const ProgramSnapshot &a, const ProgramSnapshot &b);

  private:
    ProgramSet program_;
    DeviceProperties device_;
    DeviceOptions options_;
    AstroData astro_;
};

} // namespace zx
