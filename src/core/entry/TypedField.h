#pragma once

#include <QString>

namespace zx {

// The values a typed field of an entry dialog accepts. The dialogs limit the field to the
// digits of `maximum` and refuse every value outside the range, so nothing out of range is
// ever stored.
struct FieldRange {
    int minimum = 0;
    int maximum = 0;
    bool mayBeEmpty = false; // an empty field means "not given" (the day of a weekly entry)

    // How many digits the field takes.
    int digits() const;
    friend bool operator==(const FieldRange &, const FieldRange &) = default;
};

namespace FieldRanges {
constexpr FieldRange Hour{0, 23};
constexpr FieldRange Minute{0, 59};
constexpr FieldRange PulseSeconds{0, 59}; // 0: the output is switched, no pulse
constexpr FieldRange DayOfMonth{1, 31, true};
constexpr FieldRange Month{1, 12};
} // namespace FieldRanges

// The program index field: none (0) or a priority program, 1..9 conventional, 1..7 on a bus
// device.
FieldRange ProgramRange(int busDevice);

enum class FieldCheck {
    Ok,         // `value` holds the number
    Empty,      // nothing given, and the field allows it
    OutOfRange, // refused
};

struct TypedValue {
    FieldCheck check = FieldCheck::OutOfRange;
    int value = 0;
    bool ok() const { return check != FieldCheck::OutOfRange; }
};

// Reads what the user typed into a field. Leading blanks are skipped and the digits that follow
// are the value; anything after them ends it. An empty field reads as 0 unless the range
// allows it to be empty.
TypedValue CheckTypedField(const QString &text, const FieldRange &range);

} // namespace zx
