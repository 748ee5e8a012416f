#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

namespace zx {

// The identification a bus time switch of a brand carries in its BCU memory at 0x0104..0x0106:
// the brand's maker byte at 0x0104, and one of three device-type bytes each at 0x0105 and
// 0x0106. The application images put the maker byte in front of everything they write.
struct BusIdentity {
    std::uint8_t maker = 0;
    std::array<std::uint8_t, 3> accepted0105{};
    std::array<std::uint8_t, 3> accepted0106{};

    // True when three bytes read at 0x0104 belong to a time switch of this brand.
    bool matches(const QByteArray &bytes) const;
};

// The identification of brand 1..6 (any other number: brand 1's).
const BusIdentity &BusIdentityOf(int brandNumber);

} // namespace zx
