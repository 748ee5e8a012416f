#pragma once

#include <QString>

namespace zx {

// A menu caption without its accelerator marks and trailing dots, as a dialog title.
inline QString plainCaption(QString caption)
{
    caption.remove(QLatin1Char('&'));
    while (caption.endsWith(QLatin1Char('.')) || caption.endsWith(QLatin1Char(' ')))
        caption.chop(1);
    return caption;
}

} // namespace zx
