#pragma once

#include <QString>

namespace zx {

// The reasons a file, lock or output operation fails, in our own words in the three built-in
// languages (1 German, 2 English, 3 French; any other code gives English). The system's own
// texts depend on the locale the program happens to run under; these follow the language the
// user chose, and the English ones are the system's usual wording, so a reason a library hands
// over in English is recognised and said in the chosen language too.
// The language code of the reasons the file functions hand over; the front ends translate them.
constexpr int ReasonsInEnglish = 2;

enum class OwnReason {
    NotRegularFile, // a device node, FIFO or socket where a file is read or written
    ReadOnlyFile,   // a file nobody may write, refused even for root
    InUse,          // another program holds the file's lock
    CannotLock,     // the lock file beside it cannot be made
};

// The reason for a system error number; the system's text for a number outside the table.
QString SystemReason(int errorNumber, int language);
QString OwnReasonText(OwnReason reason, int language);

// `text` with every English reason of the table in it said in `language` (a path or a name
// around it stays as it is).
QString TranslateReasons(const QString &text, int language);

} // namespace zx
