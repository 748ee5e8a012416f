#include "bus/BusAddress.h"

#include "platform/Prompter.h"

#include <QStringList>

namespace zx {

namespace {

// A whole number of at most five digits, blanks around it allowed.
std::optional<int> plainNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 5)
        return std::nullopt;
    for (QChar c : t) {
        if (!c.isDigit() || c.unicode() > '9')
            return std::nullopt;
    }
    return t.toInt();
}

} // namespace

QString PhysicalAddressText(int packed)
{
    return QStringLiteral("%1.%2.%3").arg((packed >> 12) & 0x0F).arg((packed >> 8) & 0x0F).arg(packed & 0xFF);
}

std::optional<int> ParsePhysicalAddress(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 3)
        return std::nullopt;
    const auto area = plainNumber(parts[0]);
    const auto line = plainNumber(parts[1]);
    const auto device = plainNumber(parts[2]);
    if (!area || !line || !device || *area > 15 || *line > 12 || *device < 1 || *device > 255)
        return std::nullopt;
    return PackPhysicalAddress(*area, *line, *device);
}

int CheckGroupAddress(const QString &text, Prompter &prompter)
{
    const int slash = text.indexOf(QLatin1Char('/'), 1);
    std::optional<int> main, sub;
    if (slash > 0) {
        main = plainNumber(text.left(slash));
        sub = plainNumber(text.mid(slash + 1));
    }
    if (!main || !sub || *main > 31 || *sub > 2047) {
        prompter.tell(QStringLiteral("keine g\u00fcltige Gruppenadresse"), Icon::Critical);
        return 0;
    }
    return 2048 * *main + *sub;
}

BusFieldCheck CheckBusField(BusField field, const QString &text)
{
    BusFieldCheck check;
    // The value as read: the leading digits after blanks; anything else counts as 0.
    const QString t = text.trimmed();
    int digits = 0;
    while (digits < t.size() && t.at(digits).unicode() >= '0' && t.at(digits).unicode() <= '9')
        ++digits;
    if (t.isEmpty()) {
        check.text = QString();
        return check;
    }
    // Long digit strings are above every limit; no need to read them exactly.
    const long long value = digits == 0 ? 0 : (digits > 9 ? 1000000000LL : t.left(digits).toLongLong());
    const int limit = (field == BusField::Area || field == BusField::Line) ? 15 : 255;
    if (value > limit) {
        check.beep = true;
        check.value = field == BusField::ToDevice ? 255 : 0;
    } else {
        check.value = int(value);
    }
    check.text = QString::number(check.value);
    return check;
}

} // namespace zx
