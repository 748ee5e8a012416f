#pragma once

#include <QString>

namespace zx {

// The folder of the installed default files (brand file, holiday and location files, help, bus
// application image), found relative to the program; empty when the program runs from its
// build folder.
QString installedDataDir();

// The working directory of an installed program started without --workdir: "zentrix" under
// the user's XDG data directory.
QString userWorkDir();

// Copies every file of `defaults` that `workDir` lacks into it, folders included; files already
// there are never touched, so the user's changes survive every start. false, with the
// system's text in `error`, when the folder cannot be made or a file cannot be copied.
bool prepareWorkDir(const QString &defaults, const QString &workDir, QString *error);

// The working directory every front end uses: `option` (--workdir) when given, else the
// environment's ZENTRIX_WORKDIR, else for an installed program the user's own, prepared from the
// installed defaults; a program run from its build folder works in the current directory.
// Empty, with the reason in `error`, when the user's folder cannot be prepared.
QString ResolveWorkDir(const QString &option, QString *error);

} // namespace zx
