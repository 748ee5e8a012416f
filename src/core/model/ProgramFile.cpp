#include "model/ProgramFile.h"

#include "i18n/ExtraTexts.h"
#include "platform/FileAccess.h"

#include "model/DeviceCodes.h"
#include "model/ModelNames.h"

#include "i18n/Msg.h"
#include "model/ChangeoverRules.h"
#include "model/ListOrder.h"
#include "model/Model.h"
#include "model/ValueRanges.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/TextDecoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace zx {

namespace {

// ----- image layout ------------------------------------------------------------------------

constexpr int HeaderSize = 8;
constexpr int ByteDstFirstYear = 19;
constexpr int ByteDstTable = 20;
constexpr int ByteUsedHead = 100;
constexpr int ByteFreeHead = 102;
constexpr int ByteSlots = 104;
constexpr int SlotSize = 6;
constexpr int SlotsAnnual = 324;
constexpr int SlotsAstro = 141; // slots 0..140; the astro table follows them
constexpr int ByteAstroTable = 950;
constexpr int LinkLimitAnnual = 324;
constexpr int LinkLimitAstro = 120;
constexpr int SmallAnnualCapacity = 150;

bool isAstroDevice(const Model &model)
{
    return model.device.Uhrentyp == TypeAstro;
}

// The writer's capacity: record slots the image can take for this device.
int imageCapacity(const Model &model)
{
    // the astro device's free chain runs two slots beyond its capacity, which must stay inside
    // slots 0..140
    return isAstroDevice(model) ? std::clamp(model.device.RecordCapacity, 0, SlotsAstro - 2)
                                : std::clamp(model.device.RecordCapacity, 0, SlotsAnnual);
}

std::uint8_t byteOf(int v)
{
    return static_cast<std::uint8_t>(v & 0xFF);
}
std::uint8_t swapped(int v)
{
    return byteOf(SwapNibbles(v & 0xFF));
}

// Coordinates are kept in half degrees: whole degrees and a half-degree flag of the absolute value.
struct HalfDegrees {
    int whole;
    int half;
};
HalfDegrees halfDegrees(float value)
{
    const long halves = std::lround(std::fabs(double(value)) * 2.0);
    return {int(halves / 2), int(halves % 2)};
}

int signedByte(float value, int limit)
{
    const int v = std::clamp(int(std::lround(double(value))), -limit, limit);
    return v < 0 ? v + 256 : v;
}

} // namespace

std::array<int, 8> BuildHeaderBytes(const Model &model, const QDateTime &now)
{
    const DeviceProperties &d = model.device;
    const DeviceOptions &o = model.options;
    std::array<int, HeaderSize> h{};
    h[1] = d.DeviceCode & 0xFF;
    h[2] = ((d.Kanalzahl - 1) & 7) + 8 * (d.BusDevice & 1) + 16 * (d.SwRegel & 15);
    if (isAstroDevice(model)) {
        h[3] = 5 + 2 * (o.EuroDate & 1) + 8 * (o.RadioSync & 1) + 16 * (o.NakOff & 1) +
               32 * (o.KeyPermanent & 1);
    } else {
        const bool masterOptions = (d.DeviceCode & 128) && d.MasterCardOptions != 0;
        h[3] = 1 + 2 * (o.EuroDate & 1) + 4 * (o.GermanDisplay & 1) + 8 * (o.RadioSync & 1) +
               16 * (o.NakOff & 1) + 32 * (o.KeyPermanent & 1) + (masterOptions ? 128 : 0);
    }
    const QTime time = now.time();
    const QDate date = now.date();
    const int t = time.hour() * 60 + time.minute();
    h[4] = t >> 4;
    h[5] = (t % 16) * 16 + date.month();
    h[6] = date.day();
    h[7] = (date.year() - 1872) & 0xFF;
    return h;
}

namespace {

void fillAnnualBytes(const Model &model, MemoryImage &img)
{
    const DeviceProperties &d = model.device;
    const ProgramSet &p = model.program();
    img[12] = swapped(252 + 2 * (1 - (d.WriteProtect & 1)));
    if (p.ProgramNumber >= 0 && p.ProgramNumber <= 999999) {
        const int n = p.ProgramNumber;
        const int pairs[3] = {n / 10000, (n / 100) % 100, n % 100};
        for (int i = 0; i < 3; ++i)
            img[13 + i] = swapped((pairs[i] / 10) * 16 + pairs[i] % 10);
    }
    if (d.MessKanal != 0) {
        img[16] = swapped(((d.MessKanal - 1) & 3) * 64 + (d.MessPeriode & 63));
        img[17] = swapped(128 * (d.MessZustand & 1) + 64 * (d.MessZeitpunkt & 1) + (d.MessImpDauer & 63));
    }
    if ((d.DeviceCode & 128) && d.MasterCardOptions != 0)
        img[18] = swapped(d.MasterCardOptions);
}

void fillAstroBytes(const Model &model, MemoryImage &img)
{
    const DeviceProperties &d = model.device;
    const AstroData &a = model.astro;
    img[12] = byteOf(245 + 2 * (1 - (d.WriteProtect & 1)) + 8 * (a.AstroC1C2 & 1));
    img[13] = byteOf(signedByte(a.AstroOffset1, 120));
    img[14] = byteOf(signedByte(a.AstroOffset2, 120));
    const HalfDegrees lon = halfDegrees(std::clamp(a.Longitude, -180.0f, 180.0f));
    const HalfDegrees lat = halfDegrees(std::clamp(a.Latitude, -70.0f, 70.0f));
    img[15] = byteOf(lon.whole);
    img[16] = byteOf(lat.whole + (a.Latitude <= 0 ? 128 : 0));
    const int zone = std::clamp(int(std::lround(std::fabs(double(a.TimeZone)))), 0, 720);
    const int hours = zone / 60;
    const int quarters = (zone % 60) / 15;
    img[17] = byteOf((a.Longitude <= 0 ? 128 : 0) + 32 * quarters + (a.TimeZone < 0 ? 16 : 0) + hours);
    img[18] = swapped(128 * lon.half + 64 * lat.half + std::clamp(a.AstroMinute, 0, 59));
}

void fillChangeover(const ProgramSet &p, MemoryImage &img)
{
    const int count = std::clamp(p.DstCount, 0, DstEntries);
    if (count > 0)
        img[ByteDstFirstYear] = swapped(p.DstFirstYear);
    for (int i = 0; i < count; ++i)
        for (int j = 0; j < 4; ++j)
            img[ByteDstTable + 4 * i + j] = swapped(p.DstTable[i][j]);
}

// Links are 1-based slot numbers; 0 ends a chain.
void writeSlot(MemoryImage &img, int slot, const ProgramRecord &r, int link)
{
    const int at = ByteSlots + SlotSize * slot;
    img[at] = swapped(r.b0);
    img[at + 1] = swapped(r.b1);
    img[at + 2] = byteOf(link);
    img[at + 3] = swapped((r.b3 & 127) + 128 * ((link >> 8) & 1));
    img[at + 4] = swapped(r.b4);
    img[at + 5] = swapped(r.b5);
}

void fillSlots(const Model &model, MemoryImage &img)
{
    const ProgramSet &p = model.program();
    const bool astro = isAstroDevice(model);
    const int capacity = imageCapacity(model);
    const int used = std::clamp(p.UsedCount, 0, capacity);
    const int slots = astro ? SlotsAstro : SlotsAnnual;
    // the astro device keeps two spare slots at the end of its free chain
    const int lastFree = astro ? capacity + 1 : capacity - 1;

    img[ByteUsedHead] = 0;
    img[ByteUsedHead + 1] = used > 0 ? 1 : 0;
    const int freeHead = used < capacity ? used + 1 : 0;
    img[ByteFreeHead] = byteOf(freeHead >> 8);
    img[ByteFreeHead + 1] = byteOf(freeHead);

    for (int k = 0; k < slots; ++k) {
        int link = 0;
        if (k < used - 1 || (k >= used && k < lastFree))
            link = k + 2;
        writeSlot(img, k, p.Records[k], link);
    }
}

// Day d holds its two 12-bit values A = A2 A1 A0 and B = B2 B1 B0 (nibbles) as
// A0 A2 | B2 A1 | B1 B0.
void fillAstroTable(const Model &model, MemoryImage &img)
{
    const AstroData &a = model.astro;
    for (int d = 0; d < AstroDays; ++d) {
        const int A = a.AstroPresent ? (a.AstroTable[d][0] & 0xFFF) : NoAstroTime;
        const int B = a.AstroPresent ? (a.AstroTable[d][1] & 0xFFF) : NoAstroTime;
        const int at = ByteAstroTable + 3 * d;
        img[at] = byteOf((A & 15) * 16 + (A >> 8));
        img[at + 1] = byteOf((B >> 8) * 16 + ((A >> 4) & 15));
        img[at + 2] = byteOf(((B >> 4) & 15) * 16 + (B & 15));
    }
}

// ----- text layout -------------------------------------------------------------------------

void appendNumber(QByteArray &out, int value)
{
    out += ' ';
    out += QByteArray::number(value);
    out += ' ';
}

void appendLine(QByteArray &out, const MemoryImage &v, int from, int count)
{
    for (int i = from; i < from + count; ++i)
        appendNumber(out, v[i]);
    out += "\r\n";
}

QString textForFile(QString text)
{
    for (QChar &c : text)
        if (c == u',' || c == u'\r' || c == u'\n')
            c = u' ';
    return text;
}

// ----- reading -----------------------------------------------------------------------------

bool isSeparator(char c)
{
    return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\n';
}
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

struct ParsedNumbers {
    std::array<int, ImageSize> values{};
    std::array<int, ImageSize> lines{};
    qsizetype end = 0; // just after the last number
};

std::optional<ParsedNumbers> parseNumbers(const QByteArray &text, LoadDetail *detail)
{
    ParsedNumbers out;
    const char *s = text.constData();
    const qsizetype n = text.size();
    qsizetype pos = 0;
    int line = 1;
    const auto fault = [&](LoadFault f, int value = 0) -> std::optional<ParsedNumbers> {
        if (detail)
            *detail = {f, line, value, 0};
        return std::nullopt;
    };
    if (n >= 3 && uchar(s[0]) == 0xEF && uchar(s[1]) == 0xBB && uchar(s[2]) == 0xBF)
        pos = 3;
    for (int i = 0; i < ImageSize; ++i) {
        while (pos < n && isSeparator(s[pos])) {
            // a line ending in CR LF, LF or CR alone counts once
            if (s[pos] == '\n' || (s[pos] == '\r' && (pos + 1 >= n || s[pos + 1] != '\n')))
                ++line;
            ++pos;
        }
        if (pos >= n) {
            // the last line is the one the text ended on, not the empty one after its line end
            if (n > 0 && (s[n - 1] == '\n' || s[n - 1] == '\r'))
                --line;
            return fault(LoadFault::Truncated);
        }
        if (s[pos] < '0' || s[pos] > '9')
            return fault(LoadFault::NotANumber);
        int value = 0;
        while (pos < n && s[pos] >= '0' && s[pos] <= '9') {
            value = std::min(value * 10 + (s[pos] - '0'), 100000); // saturates: anything above 255 is refused
            ++pos;
        }
        if (pos < n && !isSeparator(s[pos]))
            return fault(LoadFault::NotANumber);
        if (value > 255)
            return fault(LoadFault::ValueOutOfRange, value);
        out.values[i] = value;
        out.lines[i] = line;
    }
    out.end = pos;
    return out;
}

// Texts follow the numbers: each up to the next comma or line end, without leading blanks.
std::array<QString, ProgramTextCount> parseTexts(const QByteArray &text, qsizetype from)
{
    std::array<QString, ProgramTextCount> texts;
    const char *s = text.constData();
    const qsizetype n = text.size();
    qsizetype pos = from;
    // the separators that end the line of the last number
    while (pos < n && (s[pos] == ' ' || s[pos] == '\t' || s[pos] == ','))
        ++pos;
    if (pos < n && s[pos] == '\r')
        ++pos;
    if (pos < n && s[pos] == '\n')
        ++pos;

    const QString rest = decodeText(text.mid(pos));
    qsizetype at = 0;
    const qsizetype len = rest.size();
    for (int k = 0; k < ProgramTextCount && at < len; ++k) {
        while (at < len && isBlank(rest[at]))
            ++at;
        const qsizetype start = at;
        while (at < len && rest[at] != u',' && rest[at] != u'\r' && rest[at] != u'\n')
            ++at;
        texts[k] = rest.mid(start, at - start);
        if (at < len && rest[at] == u',') {
            ++at;
        } else {
            if (at < len && rest[at] == u'\r')
                ++at;
            if (at < len && rest[at] == u'\n')
                ++at;
        }
    }
    return texts;
}

// ----- decoding ----------------------------------------------------------------------------

// Bytes 8..2047 mostly hold swapped nibbles; `sw` undoes that, `plain` takes the file value.
struct FileValues {
    const std::array<int, ImageSize> &v;
    int plain(int i) const { return v[i]; }
    int sw(int i) const { return i < HeaderSize ? v[i] : SwapNibbles(v[i]); }
};

// What a load may change; the model receives it only when the load succeeds.
struct LoadState {
    ProgramSet set;
    DeviceProperties device;
    DeviceOptions options;
    AstroData astro;
};

LoadResult checkDeviceCode(const Model &model, int code)
{
    const int low = PlainDeviceCode(code);
    const bool annualCode = low == DeviceCodeAnnual || low == DeviceCodeAnnualSpecialPriorities;
    const bool master = IsMasterCard(code);
    if (isAstroDevice(model)) {
        if (master && low == DeviceCodeAstro)
            return LoadResult::MasterCard;
        if (code == DeviceCodeAstro)
            return LoadResult::Loaded;
        return annualCode ? LoadResult::OtherType517 : LoadResult::Invalid;
    }
    if (annualCode)
        return master ? LoadResult::MasterCard : LoadResult::Loaded;
    return code == DeviceCodeAstro ? LoadResult::OtherType236 : LoadResult::Invalid;
}

void decodeAnnual(const FileValues &f, LoadState &st)
{
    const int pairs[3] = {BcdToNumber(f.sw(13)), BcdToNumber(f.sw(14)), BcdToNumber(f.sw(15))};
    if (pairs[0] > 99 || pairs[1] > 99 || pairs[2] > 99)
        st.set.ProgramNumber = NoProgramNumber;
    else
        st.set.ProgramNumber = pairs[0] * 10000 + pairs[1] * 100 + pairs[2];

    const int b16 = f.sw(16);
    const int b17 = f.sw(17);
    const int period = BitField(b16, 0, 5);
    DeviceProperties &d = st.device;
    if (Ranges::MeterPeriod.contains(period)) {
        d.MessPeriode = period;
        d.MessKanal = BitField(b16, 6, 7) + 1;
        d.MessImpDauer = BitField(b17, 0, 5);
        d.MessZeitpunkt = BitField(b17, 6, 6);
        d.MessZustand = BitField(b17, 7, 7);
    } else {
        d.clearMeterPulse();
    }
}

void decodeAstro(const FileValues &f, LoadState &st)
{
    AstroData &a = st.astro;
    auto signedValue = [](int v) { return v > 127 ? v - 256 : v; };
    a.AstroOffset1 =
        float(std::clamp(signedValue(f.plain(13)), Ranges::AstroOffset.min, Ranges::AstroOffset.max));
    a.AstroOffset2 =
        float(std::clamp(signedValue(f.plain(14)), Ranges::AstroOffset.min, Ranges::AstroOffset.max));
    const int b16 = f.plain(16);
    const int b17 = f.plain(17);
    const int b18 = f.sw(18);
    float lon = float(f.plain(15)) + 0.5f * float(BitField(b18, 7, 7));
    if (BitField(b17, 7, 7))
        lon = -lon;
    a.Longitude = std::clamp(lon, -180.0f, 180.0f);
    float lat = float(BitField(b16, 0, 6)) + 0.5f * float(BitField(b18, 6, 6));
    if (BitField(b16, 7, 7))
        lat = -lat;
    a.Latitude = std::clamp(lat, -70.0f, 70.0f);
    int zone = 15 * (4 * BitField(b17, 0, 3) + BitField(b17, 5, 6));
    if (BitField(b17, 4, 4))
        zone = -zone;
    a.TimeZone = float(std::clamp(zone, -720, 720));
    a.AstroMinute = std::min(BitField(b18, 0, 5), 59);
    a.AstroC1C2 = BitField(f.plain(12), 3, 3);
    st.device.RecordCapacity = CapacityAstro;
    st.set.ProgramNumber = NoProgramNumber;

    for (int d = 0; d < AstroDays; ++d) {
        const int at = ByteAstroTable + 3 * d;
        const int x = f.plain(at), y = f.plain(at + 1), z = f.plain(at + 2);
        a.AstroTable[d][0] = (x & 15) * 256 + (y & 15) * 16 + (x >> 4);
        a.AstroTable[d][1] = (y >> 4) * 256 + z;
    }
    a.AstroPresent = -1;
}

void decodeChangeover(const FileValues &f, ProgramSet &set)
{
    set.DstTable.fill(EmptyDstEntry);
    set.DstCount = 0;
    set.DstFirstYear = 0;
    if (f.sw(ByteDstFirstYear) == 255)
        return;
    set.DstFirstYear = f.sw(ByteDstFirstYear);
    // entries in use come first in the model, whatever gaps the file has
    for (int i = 0; i < DstEntries; ++i) {
        DstEntry e;
        for (int j = 0; j < 4; ++j)
            e[j] = f.sw(ByteDstTable + 4 * i + j);
        if (e[0] < 240)
            set.DstTable[set.DstCount++] = e;
    }
}

// Follows the used chain; false when a link leaves the capacity or the chain loops, with the
// line of the link that did it.
bool decodeRecords(const FileValues &f, const ProgramText &parsed, bool astro, int busDevice, LoadState &st,
                   LoadDetail *detail)
{
    ProgramSet &set = st.set;
    const int limit = astro ? LinkLimitAstro : LinkLimitAnnual;
    int link = f.plain(ByteUsedHead) * 256 + f.plain(ByteUsedHead + 1);
    int linkByte = ByteUsedHead + 1; // where the link being followed is stored
    int visited = 0;
    int count = 0;
    while (link != 0) {
        if (link > limit || ++visited > limit) {
            if (detail)
                *detail = {link > limit ? LoadFault::LinkBeyondCapacity : LoadFault::ChainLoop,
                           parsed.lines[linkByte], link, limit};
            return false;
        }
        if (!astro && link > SmallAnnualCapacity)
            st.device.RecordCapacity = CapacityAnnual;
        const int at = ByteSlots + SlotSize * (link - 1);
        ProgramRecord r;
        r.b0 = byteOf(f.sw(at));
        r.b1 = byteOf(f.sw(at + 1));
        const int b3 = f.sw(at + 3);
        r.b3 = byteOf(b3 & 127);
        r.b4 = byteOf(f.sw(at + 4));
        r.b5 = byteOf(f.sw(at + 5));
        link = (b3 >> 7) * 256 + f.plain(at + 2);
        linkByte = at + 2;

        const bool switching = IsSwitchingCode(r.b0);
        const bool priority = IsPriorityCode(r.b0);
        if (switching && !(astro && IsAstroTime(r, busDevice))) {
            set.Records[count++] = r;
            ++set.SzCount;
        } else if (priority) {
            set.Records[count++] = r;
            ++set.PzCount;
        }
    }
    for (int i = count; i < MaxRecords; ++i)
        set.Records[i] = ProgramRecord{};
    set.UsedCount = set.SzCount + set.PzCount;
    return true;
}

} // namespace

// ----- public pure steps -------------------------------------------------------------------

MemoryImage BuildImage(const Model &model, const QDateTime &now)
{
    MemoryImage img;
    img.fill(255);
    const std::array<int, HeaderSize> header = BuildHeaderBytes(model, now);
    for (int i = 0; i < HeaderSize; ++i)
        img[i] = byteOf(header[i]);
    if (isAstroDevice(model))
        fillAstroBytes(model, img);
    else
        fillAnnualBytes(model, img);
    fillChangeover(model.program(), img);
    fillSlots(model, img);
    if (isAstroDevice(model))
        fillAstroTable(model, img);

    int sum = 0;
    for (int i = 1; i < ImageSize; ++i)
        sum += img[i];
    img[0] = byteOf((256 - sum % 256) % 256);
    return img;
}

QByteArray FormatProgramText(const MemoryImage &v, const QString &usageText,
                             const std::array<QString, 9> &channelNames)
{
    QByteArray out;
    out.reserve(12 * 1024);
    for (int i = 0; i < 20; ++i)
        appendLine(out, v, i, 1);
    for (int i = 0; i < 20; ++i)
        appendLine(out, v, 20 + 4 * i, 4);
    appendLine(out, v, 100, 2);
    appendLine(out, v, 102, 2);
    for (int k = 0; k < 324; ++k)
        appendLine(out, v, ByteSlots + SlotSize * k, SlotSize);
    // The texts are read back as one piece in one encoding, so they are encoded as one piece.
    QString texts = textForFile(usageText) + QStringLiteral("\r\n");
    for (int i = 0; i < 8; ++i) {
        QString name = textForFile(channelNames[i]);
        while (name.endsWith(u' '))
            name.chop(1);
        texts += name + QStringLiteral("\r\n");
    }
    out += encodeText(texts);
    return out;
}

std::optional<ProgramText> ParseProgramText(const QByteArray &text, LoadDetail *detail)
{
    const auto numbers = parseNumbers(text, detail);
    if (!numbers)
        return std::nullopt;
    ProgramText out;
    out.values = numbers->values;
    out.lines = numbers->lines;
    out.texts = parseTexts(text, numbers->end);
    return out;
}

std::optional<std::array<int, ImageSize>> ReadImageValues(const QByteArray &text)
{
    const auto numbers = parseNumbers(text, nullptr);
    if (!numbers)
        return std::nullopt;
    return numbers->values;
}

LoadResult ApplyProgramText(Model &model, const ProgramText &parsed, bool skipTexts, int setIndex,
                            LoadDetail *detail)
{
    const int target = setIndex == SetTemplate ? SetTemplate : SetProgram;
    const FileValues f{parsed.values};

    int sum = 0;
    for (int v : parsed.values)
        sum += v;
    if (sum % 256 != 0) {
        if (detail)
            *detail = {LoadFault::Checksum, 0, sum % 256, 0};
        return LoadResult::Invalid;
    }

    const int code = f.plain(1);
    const LoadResult typeCheck = checkDeviceCode(model, code);
    if (typeCheck != LoadResult::Loaded)
        return typeCheck;

    const bool astro = isAstroDevice(model);
    LoadState st{model.set(target), model.device, model.options, model.astro};
    st.set.DstCount = st.set.SzCount = st.set.PzCount = 0;

    st.device.DeviceCode = code;
    if (code == DeviceCodeAnnualSpecialPriorities)
        st.device.Bewft = 1;
    if (!astro)
        st.device.MasterCardOptions = f.sw(18);

    const int b2 = f.plain(2);
    const int bus = BitField(b2, 3, 3);
    const int other = target == SetProgram ? SetTemplate : SetProgram;
    if (bus != model.device.BusDevice && model.set(other).UsedCount > 0)
        return LoadResult::GroupConflict;
    for (int i = 0; i < HeaderSize; ++i)
        st.set.HeaderBytes[i] = f.plain(i);

    if (target == SetProgram) {
        const int b3 = f.plain(3);
        st.device.Kanalzahl = BitField(b2, 0, 2) + 1;
        st.device.BusDevice = bus;
        st.device.SwRegel = BitField(b2, 4, 7);
        st.options.OptionBit0 = BitField(b3, 0, 0);
        st.options.EuroDate = BitField(b3, 1, 1);
        st.options.GermanDisplay = BitField(b3, 2, 2);
        st.options.RadioSync = BitField(b3, 3, 3);
        st.options.NakOff = BitField(b3, 4, 4);
        st.options.KeyPermanent = BitField(b3, 5, 5);
        if (astro) {
            st.options.GermanDisplay = 1;
            st.options.OptionBit0 = 1;
        }
        const int b12 = astro ? f.plain(12) : f.sw(12);
        st.device.WriteProtect = 1 - BitField(b12, 1, 1);
    } else if (model.program().UsedCount == 0) {
        st.device.BusDevice = bus;
    }

    if (astro)
        decodeAstro(f, st);
    else
        decodeAnnual(f, st);
    decodeChangeover(f, st.set);
    if (!decodeRecords(f, parsed, astro, bus, st, detail))
        return LoadResult::Invalid;

    if (!skipTexts) {
        st.set.UsageText = parsed.texts[0];
        for (int i = 0; i < 8; ++i)
            st.set.ChannelNames[i] = parsed.texts[1 + i] + u' ';
    }

    model.set(target) = std::move(st.set);
    model.device = std::move(st.device);
    model.options = st.options;
    model.astro = st.astro;
    SortRecords(model, DisplayOrder, target);
    deriveModelNameAfterLoad(model);
    return LoadResult::Loaded;
}

LoadResult LoadProgramText(Model &model, const QByteArray &text, bool skipTexts, int setIndex,
                           LoadDetail *detail)
{
    if (detail)
        *detail = {};
    if (text.size() > MaxProgramFileSize) {
        if (detail)
            detail->fault = LoadFault::TooLarge;
        return LoadResult::Invalid;
    }
    const auto parsed = ParseProgramText(text, detail);
    if (!parsed)
        return LoadResult::Invalid;
    return ApplyProgramText(model, *parsed, skipTexts, setIndex, detail);
}

void deriveModelNameAfterLoad(Model &model)
{
    DeriveModelName(model);
}

} // namespace zx
