#pragma once

namespace zx {

// The lists the main window shows (ListView).
enum ListKind : int { ListSwitching = 0, ListPriority = 1, ListChangeover = 2, ListAstro = 3 };
constexpr int ListKindCount = 4;

} // namespace zx
