#include "model/BrandTable.h"

#include "model/Model.h"
#include "platform/FileAccess.h"
#include "platform/TextDecoding.h"

#include <QFile>

namespace zx {
namespace {

// Device properties behind each model slot. S1..S9 are the plain annual switches (S5 the
// bus-programmable one, S6..S9 with utility option), S10..S18 their write-protected variants,
// S19 the astro device.
const std::array<SlotProperties, SlotCount + 1> slotTable = {{
    {0, 0, 0, 0, 0, 0, 0},                         // unused
    {1, TypeAnnual, 0, 72, CapacityAnnual, 0, 0},  // S1
    {2, TypeAnnual, 0, 72, CapacityAnnual, 0, 0},  // S2
    {3, TypeAnnual, 0, 72, CapacityAnnual, 0, 0},  // S3
    {4, TypeAnnual, 0, 72, CapacityAnnual, 0, 0},  // S4
    {4, TypeAnnual, -1, 72, CapacityAnnual, 0, 0}, // S5
    {1, TypeAnnual, 0, 72, CapacityAnnual, 1, 0},  // S6
    {2, TypeAnnual, 0, 72, CapacityAnnual, 1, 0},  // S7
    {3, TypeAnnual, 0, 72, CapacityAnnual, 1, 0},  // S8
    {4, TypeAnnual, 0, 72, CapacityAnnual, 1, 0},  // S9
    {1, TypeAnnual, 0, 73, CapacityAnnual, 0, 1},  // S10
    {2, TypeAnnual, 0, 73, CapacityAnnual, 0, 1},  // S11
    {3, TypeAnnual, 0, 73, CapacityAnnual, 0, 1},  // S12
    {4, TypeAnnual, 0, 73, CapacityAnnual, 0, 1},  // S13
    {4, TypeAnnual, -1, 73, CapacityAnnual, 0, 1}, // S14
    {1, TypeAnnual, 0, 73, CapacityAnnual, 1, 1},  // S15
    {2, TypeAnnual, 0, 73, CapacityAnnual, 1, 1},  // S16
    {3, TypeAnnual, 0, 73, CapacityAnnual, 1, 1},  // S17
    {4, TypeAnnual, 0, 73, CapacityAnnual, 1, 1},  // S18
    {2, TypeAstro, 0, 80, CapacityAstro, 0, 0},    // S19
}};

struct SlotName {
    int slot;
    const char *name;
};

Brand makeBrand(int number, const char *key, QStringList company, const char *primary, const char *secondary,
                PictureSide side, int width, int height, std::initializer_list<SlotName> offered,
                const char *shortName)
{
    Brand b;
    b.number = number;
    b.key = QString::fromLatin1(key);
    const QString stem = b.key.toLower();
    b.startPicture = QStringLiteral(":/brands/%1-start.png").arg(stem);
    b.infoPicture = QStringLiteral(":/brands/%1-info.png").arg(stem);
    b.companyLines = std::move(company);
    b.primaryColour = QString::fromLatin1(primary);
    b.secondaryColour = QString::fromLatin1(secondary);
    b.pictureSide = side;
    b.startWidth = width;
    b.startHeight = height;
    for (int s = 1; s <= SlotCount; ++s)
        b.slots[s] = SlotNotOffered();
    for (const SlotName &o : offered)
        b.slots[o.slot] = QString::fromUtf8(o.name);
    b.shortDeviceName = QString::fromUtf8(shortName);
    return b;
}

const std::array<Brand, BrandCount + 1> &brands()
{
    using namespace Slot;
    static const std::array<Brand, BrandCount + 1> table = {
        Brand{},
        makeBrand(1, "NRV",
                  {QStringLiteral("NRV Zeitschalttechnik GmbH"), QStringLiteral("Am Uhrenturm 7"),
                   QStringLiteral("D-58636 Iserlohn"), QStringLiteral("Tel. +49 2371 4470-0")},
                  "#1f3a68", "#eef2f8", PictureSide::Left, 660, 430,
                  {{S1, "ZX 101"},
                   {S2, "ZX 102"},
                   {S4, "ZX 104"},
                   {S5, "ZX 104 B"},
                   {S10, "ZX 201"},
                   {S11, "ZX 202"},
                   {S12, "ZX 203"},
                   {S13, "ZX 204"},
                   {S14, "ZX 204 B"},
                   {S15, "ZX 301"},
                   {S16, "ZX 302"},
                   {S17, "ZX 303"},
                   {S18, "ZX 304"},
                   {S19, "ZX 401"}},
                  "ZX104"),
        makeBrand(2, "KLA",
                  {QStringLiteral("Klarauf Elektro AG"), QStringLiteral("Seestrasse 41"),
                   QStringLiteral("CH-8800 Thalwil"), QStringLiteral("Tel. +41 44 720 15 15")},
                  "#1d5e3b", "#edf5ef", PictureSide::Right, 640, 410, {{S5, "ZX 501"}, {S14, "ZX 502"}},
                  "ZX 501"),
        makeBrand(3, "ODE",
                  {QStringLiteral("Odemark Installationstechnik KG"), QStringLiteral("Hafenweg 3"),
                   QStringLiteral("D-24937 Flensburg"), QStringLiteral("Tel. +49 461 90 88 0")},
                  "#7a1f2b", "#f8efe6", PictureSide::Left, 640, 410, {{S5, "ZX 601 A"}, {S14, "ZX 601 B"}},
                  "ZX 601"),
        makeBrand(4, "PAX",
                  {QStringLiteral("Paxtron S.A."), QStringLiteral("12, rue des Horlogers"),
                   QStringLiteral("F-25000 Besan\u00e7on"), QStringLiteral("T\u00e9l. +33 3 81 00 47 47")},
                  "#2c2c54", "#f3f1ea", PictureSide::Right, 640, 410, {{S14, "ZX 701"}}, "ZX 701 K"),
        makeBrand(5, "RUM",
                  {QStringLiteral("Chipwerk Rumpold KG"), QStringLiteral("Gewerbepark 19"),
                   QStringLiteral("A-4020 Linz"), QStringLiteral("Tel. +43 732 66 12 0")},
                  "#00695c", "#e9f4f2", PictureSide::Left, 640, 410, {{S14, "ZX 801"}}, "ZX 801"),
        makeBrand(6, "TEO",
                  {QStringLiteral("Teodor Elektro B.V."), QStringLiteral("Klokstraat 88"),
                   QStringLiteral("NL-3511 Utrecht"), QStringLiteral("Tel. +31 30 234 56 00")},
                  "#4a148c", "#f3edf8", PictureSide::Right, 640, 410, {{S14, "ZX 901"}}, "ZX 901 K"),
    };
    return table;
}

} // namespace

const SlotProperties &SlotPropertiesOf(int slot)
{
    return slotTable[(slot >= 1 && slot <= SlotCount) ? slot : 0];
}

const QString &Brand::slotName(int slot) const
{
    if (slot < 1 || slot > SlotCount)
        return SlotNotOffered();
    return slots[slot];
}

bool Brand::offers(int slot) const
{
    return slotName(slot) != SlotNotOffered();
}

const Brand &BrandTable(int brandNumber)
{
    const auto &table = brands();
    return table[(brandNumber >= 1 && brandNumber <= BrandCount) ? brandNumber : 1];
}

int BrandNumberFromCode(const QString &firstLine)
{
    const QString code = firstLine.left(3);
    if (code.size() != 3)
        return 0;
    for (int n = 1; n <= BrandCount; ++n) {
        const QString &key = BrandTable(n).key;
        const QString capitalised = key.left(1) + key.mid(1).toLower();
        if (code == key || code == capitalised || code == key.toLower())
            return n;
    }
    return 0;
}

int ReadBrandFile(const QString &path)
{
    const FileContent file = ReadRegularFile(path, 64 * 1024);
    if (!file.ok())
        return 0;
    // The code is at the start of the first line; a byte-order mark some editors put in front
    // is not part of it.
    const QString firstLine = decodeText(file.content.left(file.content.indexOf('\n')).left(256));
    return BrandNumberFromCode(firstLine);
}

} // namespace zx
