#pragma once

#include <QString>

#include <optional>

namespace zx {

class Catalogue;
class Prompter;

constexpr int MaxDefaultFileNumber = 998;

// The first name prefix + i + ".zxp" (i = 1..998) that does not exist in dir, as a path in
// dir; nullopt when all are taken. The prefix is the catalogue's default-name stem.
std::optional<QString> NextFreeDefaultFileName(const QString &dir, const Catalogue &catalogue);

// As above; when no name is free, tells the user to save the existing files under other names
// and gives the empty name.
QString DefaultFileName(const QString &dir, const Catalogue &catalogue, Prompter &prompter);

// The first character of a program file's name that the chip tool's request file cannot carry
// (it names the program file on one line of its own: a line break or other control character
// would split it); nullopt when every character can go. Letters of any script are fine.
std::optional<QChar> UncarriableFileNameCharacter(const QString &fileName);

} // namespace zx
