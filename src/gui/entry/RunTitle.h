#pragma once

#include "entry/MarkedRun.h"
#include "i18n/ExtraTexts.h"

#include <QString>

namespace zx {

// The title of an entry dialog during Change or Copy of several marked rows: which of them is
// being edited ("Change The Switching Program  (2 of 5)"). One row only, or no run: the title.
inline QString RunTitle(const QString &title, const MarkedRun &run, int sprache)
{
    if (run.size() < 2 || run.finished())
        return title;
    return title + QStringLiteral("  (") +
           extraText(ExtraText::RecordOfRecords, sprache).arg(run.position() + 1).arg(run.size()) +
           QLatin1Char(')');
}

} // namespace zx
