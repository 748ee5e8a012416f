#include "bus/BusIdentity.h"

#include <algorithm>

namespace zx {

bool BusIdentity::matches(const QByteArray &bytes) const
{
    if (bytes.size() < 3)
        return false;
    const auto b = [&](int i) { return std::uint8_t(bytes.at(i)); };
    return b(0) == maker && std::find(accepted0105.begin(), accepted0105.end(), b(1)) != accepted0105.end() &&
           std::find(accepted0106.begin(), accepted0106.end(), b(2)) != accepted0106.end();
}

const BusIdentity &BusIdentityOf(int brandNumber)
{
    // Every brand's time switch runs the same device types: the single-channel, the
    // four-channel and the programming application (0x5A 0x10), which the device reports while
    // it is installed for a transfer.
    static const std::array<BusIdentity, 6> table{{
        {0x4E, {0x51, 0x52, 0x5A}, {0x01, 0x04, 0x10}},
        {0x4B, {0x51, 0x52, 0x5A}, {0x01, 0x04, 0x10}},
        {0x4F, {0x51, 0x52, 0x5A}, {0x01, 0x04, 0x10}},
        {0x50, {0x51, 0x52, 0x5A}, {0x01, 0x04, 0x10}},
        {0x52, {0x51, 0x52, 0x5A}, {0x01, 0x04, 0x10}},
        {0x54, {0x51, 0x52, 0x5A}, {0x01, 0x04, 0x10}},
    }};
    return table[(brandNumber >= 1 && brandNumber <= 6) ? brandNumber - 1 : 0];
}

} // namespace zx
