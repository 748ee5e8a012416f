#include "i18n/BuiltinCatalogues.h"

namespace zx::builtin {
const std::array<const char *, Msg::Count + 1> &french() { return english(); }
} // namespace zx::builtin
