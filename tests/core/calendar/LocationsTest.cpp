#include "calendar/Locations.h"
#include "calendar/AstroSettings.h"

#include "i18n/Catalogue.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace zx;

namespace {

Location place(const QString &name, int lon = 345, int lat = 45, int zone = 44)
{
    return {name, lon, lat, zone};
}

QStringList names(const LocationList &list)
{
    QStringList n;
    for (const Location &l : list)
        n << l.name;
    return n;
}

TEST(LocationsTest, AddKeepsKeyOrderAndReplacesAnEqualName)
{
    LocationList list{place("Berlin"), place("Bremen")};
    AddLocation(list, place("Bonn", 346, 39, 44));
    EXPECT_EQ(names(list), QStringList({"Berlin", "Bonn", "Bremen"}));
    // Equal keys keep their order and the new name goes after them; case matters.
    AddLocation(list, place("Bern"));
    AddLocation(list, place("bonn"));
    AddLocation(list, place("A"));
    EXPECT_EQ(names(list), QStringList({"A", "Berlin", "Bern", "Bonn", "Bremen", "bonn"}));
    AddLocation(list, place("Bonn", 1, 2, 3));
    EXPECT_EQ(list.size(), 6u);
    EXPECT_EQ(list[3], place("Bonn", 1, 2, 3));
    EXPECT_EQ(FindLocation(list, 1, 2, 3), 3);
    EXPECT_EQ(FindLocation(list, 1, 2, 4), -1);
    // Keys use the legacy code of a character: "Zü" (252) sorts after "Zy".
    EXPECT_GT(LocationKey("Zürich"), LocationKey("Zyx"));
    EXPECT_EQ(LocationKey(""), 0);
    EXPECT_EQ(LocationKey("AB"), 65 * 65536 + 66 * 256);
}

TEST(LocationsTest, NamesAreCleanedSoTheFileReadsBack)
{
    EXPECT_EQ(CleanLocationName("  St. Gallen, CH\r\nOst \t"), "St. Gallen CH Ost");
    EXPECT_EQ(CleanLocationName(" ,\n "), "");
    EXPECT_EQ(CleanLocationName(QStringLiteral("A\u2028B\u2029C\x85"
                                               "D\x1b"
                                               "E")),
              "A B C D E");
    const LocationList list{place(CleanLocationName("Frankfurt, Main")), place("Saint-Étienne", 357, 49, 44),
                            place("Łódź", 322, 37, 44)};
    const LocationsReadResult back = ParseLocations(FormatLocations(list));
    ASSERT_EQ(back.status, LocationsReadResult::Status::Read);
    EXPECT_EQ(back.locations, list);
    // Legacy bytes that would read as UTF-8 are written as UTF-8.
    const LocationList lookalike{place("Ã©")};
    EXPECT_EQ(ParseLocations(FormatLocations(lookalike)).locations, lookalike);
    // A per-cent sign in a name is text, not a place holder for the positions.
    const LocationList percent{place("Halle %1 %0 Süd", 346, 39, 44)};
    EXPECT_EQ(ParseLocations(FormatLocations(percent)).locations, percent);
}

TEST(LocationsTest, FileFormatIsCountThenNameAndPositions)
{
    const LocationList list{place("Basel"), place("Zürich", 343, 45, 44)};
    EXPECT_EQ(FormatLocations(list), QByteArray("2\r\nBasel,345,45,44\r\nZ\xfcrich,343,45,44\r\n"));
    // LF line ends and blanks around the numbers read the same.
    const LocationsReadResult r = ParseLocations("2\nBasel, 345 , 45, 44\nZ\xc3\xbcrich,343 45 44\n\n");
    ASSERT_EQ(r.status, LocationsReadResult::Status::Read);
    EXPECT_EQ(r.locations, list);
    EXPECT_EQ(ParseLocations("0\r\n").status, LocationsReadResult::Status::Read);
}

struct DamagedLocations {
    const char *content;
    const char *error;
};

void PrintTo(const DamagedLocations &c, std::ostream *os)
{
    *os << c.content;
}

class DamagedLocationsTest : public ::testing::TestWithParam<DamagedLocations> {};

// The message says where the file went wrong, and nothing of it is read.
TEST_P(DamagedLocationsTest, IsNamedNeverHalfRead)
{
    const LocationsReadResult r = ParseLocations(QByteArray(GetParam().content));
    EXPECT_EQ(r.status, LocationsReadResult::Status::Damaged);
    EXPECT_EQ(r.error, QString::fromUtf8(GetParam().error));
    EXPECT_TRUE(r.locations.empty());
}

constexpr const char *Positions = "line 2: three whole numbers expected after the name";

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedLocationsTest,
    ::testing::Values(DamagedLocations{"", "no count of places"},
                      DamagedLocations{"x\r\n", "line 1: no valid count of places"},
                      DamagedLocations{"-1\r\n", "line 1: no valid count of places"},
                      DamagedLocations{"1x\r\nBasel,345,45,44\r\n", "line 1: no valid count of places"},
                      DamagedLocations{"99999999999\r\n", "line 1: no valid count of places"},
                      DamagedLocations{"2\r\nBasel,345,45,44\r\n", "2 places announced, 1 lines found"},
                      DamagedLocations{"0\r\nBasel,345,45,44\r\n", "0 places announced, 1 lines found"},
                      DamagedLocations{"1\r\nBasel,345,45,44\r\nBern,345,46,44\r\n",
                                       "1 places announced, 2 lines found"},
                      DamagedLocations{"1\r\nBasel 345 45 44\r\n", "line 2: no comma after the name"},
                      DamagedLocations{"1\r\n,345,45,44\r\n", "line 2: invalid name"},
                      DamagedLocations{"1\r\nBasel,345,45\r\n", Positions},
                      DamagedLocations{"1\r\nBasel,345,45,44,1\r\n", Positions},
                      DamagedLocations{"1\r\nBasel,3x5,45,44\r\n", Positions},
                      DamagedLocations{"1\r\nBasel,721,45,44\r\n", "line 2: position out of range"},
                      DamagedLocations{"1\r\nBasel,345,-1,44\r\n", "line 2: position out of range"},
                      DamagedLocations{"1\r\nBasel,345,45,97\r\n", "line 2: position out of range"}));

// A file may hold up to 100000 places; one more is no count this program reads.
TEST(LocationsTest, TheLargestCountIsRead)
{
    QByteArray content = "100000\r\n";
    for (int i = 0; i < 100000; ++i)
        content += "P" + QByteArray::number(i) + ",345,45,44\r\n";
    const LocationsReadResult r = ParseLocations(content);
    EXPECT_EQ(r.status, LocationsReadResult::Status::Read) << r.error.toStdString();
    EXPECT_EQ(r.locations.size(), 100000u);
    EXPECT_EQ(ParseLocations("100001\r\n").error, QStringLiteral("line 1: no valid count of places"));
}

TEST(LocationsTest, FilesOnDisk)
{
    test::TempDir dir;
    Catalogue german;
    german.fillBuiltin(German, 1);
    const QString path = LocationsFilePath(german, dir.path());
    EXPECT_TRUE(path.endsWith("/deutsch.ord"));
    EXPECT_EQ(ReadLocationsFile(path).status, LocationsReadResult::Status::Missing);
    EXPECT_FALSE(ReadLocationsFile(path).ok());
    EXPECT_TRUE(ReadLocationsFile(path).readOrMissing());

    QString error;
    ASSERT_TRUE(WriteLocationsFile(path, {place("Bonn")}, &error)) << error.toStdString();
    EXPECT_EQ(dir.read("deutsch.ord"), QByteArray("1\r\nBonn,345,45,44\r\n"));
    EXPECT_EQ(ReadLocationsFile(path).locations, LocationList{place("Bonn")});

    // A directory in the file's place is refused; writing into a missing folder fails and says so.
    EXPECT_EQ(ReadLocationsFile(dir.path()).status, LocationsReadResult::Status::Unreadable);
    EXPECT_FALSE(WriteLocationsFile(dir.file("missing/deutsch.ord"), {place("Bonn")}, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(LocationsTest, ShippedFilesReadAndAreSorted)
{
    for (const char *name : {"deutsch.ord", "english.ord", "france.ord"}) {
        const LocationsReadResult r =
            ReadLocationsFile(QStringLiteral(ZX_SOURCE_DATA "/") + QLatin1String(name));
        ASSERT_EQ(r.status, LocationsReadResult::Status::Read) << name << " " << r.error.toStdString();
        EXPECT_GT(r.locations.size(), 30u) << name;
        for (std::size_t i = 1; i < r.locations.size(); ++i)
            EXPECT_LE(LocationKey(r.locations[i - 1].name), LocationKey(r.locations[i].name)) << name << i;
    }
    const LocationList german = ReadLocationsFile(QStringLiteral(ZX_SOURCE_DATA "/deutsch.ord")).locations;
    const auto basel =
        std::find_if(german.begin(), german.end(), [](const Location &l) { return l.name == "Basel"; });
    ASSERT_NE(basel, german.end());
    EXPECT_EQ(*basel, place("Basel", 345, 45, 44));
}

} // namespace
