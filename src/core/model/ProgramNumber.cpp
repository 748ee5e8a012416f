#include "model/ProgramNumber.h"

#include "model/Model.h"

namespace zx {

qint32 ProgramNumberFromText(const QString &text)
{
    QString digits;
    for (QChar ch : text) {
        if (ch.isDigit())
            digits += ch;
    }
    // The device keeps six BCD digits; the field allows no more, a file or paste may.
    digits = digits.left(6);
    const qint32 value = digits.toInt();
    if (value != 0 || digits.contains(QLatin1Char('0')))
        return value;
    return NoProgramNumber;
}

bool SetProgramNumberFromText(Model &model, const QString &text)
{
    if (model.device.Evu != 1)
        return false;
    ProgramSet &s = model.program();
    const qint32 number = ProgramNumberFromText(text);
    if (number == s.ProgramNumber)
        return false;
    s.ProgramNumber = number;
    model.Modified = 1;
    return true;
}

} // namespace zx
