#pragma once

#include <QString>

namespace zx {

// Texts of the windows this program adds beyond the message catalogue (print preview, the
// help window), in the three built-in languages; a loaded language gets the English ones.
enum class ExtraText { Preview, HelpContents, HelpBack, HelpForward, HelpSearch, HelpMissing, HelpTitle };

QString extraText(ExtraText id, int sprache);

} // namespace zx
