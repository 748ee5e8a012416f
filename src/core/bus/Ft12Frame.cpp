#include "bus/Ft12Frame.h"

namespace zx {

namespace Ft12 {

QByteArray fixedFrame(std::uint8_t control)
{
    QByteArray f;
    f.append(char(FixedStart));
    f.append(char(control));
    f.append(char(control));
    f.append(char(End));
    return f;
}

QByteArray variableFrame(std::uint8_t control, const QByteArray &userData)
{
    const int length = 1 + int(userData.size());
    QByteArray f;
    f.append(char(VariableStart));
    f.append(char(length));
    f.append(char(length));
    f.append(char(VariableStart));
    f.append(char(control));
    f.append(userData);
    std::uint8_t sum = control;
    for (char c : userData)
        sum = std::uint8_t(sum + std::uint8_t(c));
    f.append(char(sum));
    f.append(char(End));
    return f;
}

QByteArray userDataFrame(bool frameCountBit, const QByteArray &userData)
{
    const std::uint8_t control =
        Primary | FrameCountValid | FunctionUserData | (frameCountBit ? FrameCountBit : 0);
    return variableFrame(control, userData);
}

} // namespace Ft12

void Ft12Reader::feed(const QByteArray &bytes)
{
    buffer_.append(bytes);
}

void Ft12Reader::skip(int count)
{
    buffer_.remove(0, count);
    skipped_ += count;
}

void Ft12Reader::dropStale()
{
    if (!buffer_.isEmpty())
        skip(1);
}

std::optional<Ft12Event> Ft12Reader::next()
{
    auto at = [this](int i) { return std::uint8_t(buffer_.at(i)); };
    while (!buffer_.isEmpty()) {
        const std::uint8_t first = at(0);
        if (first == Ft12::Ack) {
            skip(1);
            skipped_ -= 1; // an acknowledgement is no lost byte
            return Ft12Event{Ft12Event::Kind::Ack, 0, {}};
        }
        if (first == Ft12::FixedStart) {
            if (buffer_.size() < 4)
                return std::nullopt;
            if (at(1) != at(2) || at(3) != Ft12::End) {
                skip(1);
                continue;
            }
            Ft12Event e{Ft12Event::Kind::Fixed, at(1), {}};
            buffer_.remove(0, 4);
            return e;
        }
        if (first == Ft12::VariableStart) {
            if (buffer_.size() < 4)
                return std::nullopt;
            const int length = at(1);
            if (at(2) != length || at(3) != Ft12::VariableStart || length < 1 ||
                length > Ft12::MaxUserData + 1) {
                skip(1);
                continue;
            }
            const int total = length + 6;
            if (buffer_.size() < total)
                return std::nullopt;
            std::uint8_t sum = 0;
            for (int i = 4; i < 4 + length; ++i)
                sum = std::uint8_t(sum + at(i));
            if (at(4 + length) != sum || at(5 + length) != Ft12::End) {
                skip(1);
                continue;
            }
            Ft12Event e{Ft12Event::Kind::Variable, at(4), buffer_.mid(5, length - 1)};
            buffer_.remove(0, total);
            return e;
        }
        skip(1);
    }
    return std::nullopt;
}

} // namespace zx
