#include "entry/TypedField.h"

#include "entry/SwitchingEntry.h"

namespace zx {

int FieldRange::digits() const
{
    int n = 1;
    for (int rest = maximum; rest >= 10; rest /= 10)
        ++n;
    return n;
}

FieldRange ProgramRange(int busDevice)
{
    return FieldRange{0, MaxProgram(busDevice)};
}

TypedValue CheckTypedField(const QString &text, const FieldRange &range)
{
    int i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    if (i == text.size() && range.mayBeEmpty)
        return {FieldCheck::Empty, 0};
    // More digits than the range has can only be out of range; stop counting before overflow.
    long long value = 0;
    for (; i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9'); ++i) {
        value = value * 10 + (text.at(i).unicode() - '0');
        if (value > range.maximum)
            return {FieldCheck::OutOfRange, 0};
    }
    if (value < range.minimum)
        return {FieldCheck::OutOfRange, 0};
    return {FieldCheck::Ok, static_cast<int>(value)};
}

} // namespace zx
