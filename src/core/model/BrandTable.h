#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace zx {

class Model;

constexpr int BrandCount = 6;
constexpr int SlotCount = 19;

// The text of a model slot that a brand does not offer; such slots never appear in lists.
inline const QString &SlotNotOffered()
{
    static const QString text = QStringLiteral("entf\u00e4llt");
    return text;
}

// Model slots S1..S19 by number.
namespace Slot {
constexpr int S1 = 1, S2 = 2, S3 = 3, S4 = 4, S5 = 5, S6 = 6, S7 = 7, S8 = 8, S9 = 9, S10 = 10, S11 = 11,
              S12 = 12, S13 = 13, S14 = 14, S15 = 15, S16 = 16, S17 = 17, S18 = 18, S19 = 19;
} // namespace Slot

// The device properties a model slot stands for.
struct SlotProperties {
    int channels;
    int uhrentyp;
    int busprog;
    int deviceCode;
    int recordCapacity;
    int evu;
    int bewft;
};

// Properties of slot 1..19.
const SlotProperties &SlotPropertiesOf(int slot);

// Where the start screen puts the device picture.
enum class PictureSide { Left, Right };

// Everything that makes one brand edition look like its own product.
struct Brand {
    int number = 0;
    QString key;          // brand code as the brand file writes it in capitals
    QString startPicture; // resource names of the pictures
    QString infoPicture;
    QStringList companyLines; // company name first, then the address lines
    QString primaryColour;    // "#rrggbb": header band and accents
    QString secondaryColour;  // "#rrggbb": background of the start screen
    PictureSide pictureSide = PictureSide::Left;
    int startWidth = 640; // start screen size in pixels
    int startHeight = 420;
    std::array<QString, SlotCount + 1> slots; // index 1..19; index 0 unused
    QString shortDeviceName;

    const QString &slotName(int slot) const;
    bool offers(int slot) const;
};

// Brand 1..6; any other number gives brand 1's table (callers check the number first).
const Brand &BrandTable(int brandNumber);

// Brand number from the code at the start of the brand file: each code in capitals,
// capital then small letters, or all small letters. 0 for anything else.
int BrandNumberFromCode(const QString &firstLine);

// Reads the brand file; 0 when it is missing, unreadable or holds no known code.
int ReadBrandFile(const QString &path);

// The name of the brand file in the working directory.
inline QString BrandFileName()
{
    return QStringLiteral("zentrix.sys");
}

} // namespace zx

#include "model/ModelNames.h"
