#pragma once

#include "i18n/Msg.h"

#include <array>

namespace zx::builtin {

struct BrandVariant {
    int position;
    const char *text;
};

// Index 0 is unused; positions 1..402 hold the texts (UTF-8).
const std::array<const char *, Msg::Count + 1> &english();
const std::array<const char *, Msg::Count + 1> &german();
const std::array<const char *, Msg::Count + 1> &french();
// The positions that speak of the memory chip instead of the device in brand 5.
const std::array<BrandVariant, 11> &englishBrand5();
const std::array<BrandVariant, 11> &germanBrand5();

} // namespace zx::builtin
