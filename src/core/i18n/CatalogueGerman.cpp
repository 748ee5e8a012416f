// German catalogue: filled in by the translation work; until then the English texts stand in.
#include "i18n/BuiltinCatalogues.h"

namespace zx::builtin {
const std::array<const char *, Msg::Count + 1> &german() { return english(); }
const std::array<BrandVariant, 11> &germanBrand5() { return englishBrand5(); }
} // namespace zx::builtin
