#pragma once

#include <QIcon>
#include <QPixmap>

namespace zx {

// The small pictures of the main window, drawn so that they look alike on every desktop theme.

// The filter switch: a dark funnel when the filter is on, a pale crossed one when it is off.
QPixmap filterPixmap(bool crossed);
// The write protection switch, its lock closed or open.
QIcon lockIcon(bool locked);
// The tool strip's print command.
QIcon printerIcon();

} // namespace zx
