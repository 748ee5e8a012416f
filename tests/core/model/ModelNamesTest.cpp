#include "model/ModelNames.h"

#include "model/Model.h"
#include "model/ProgramFile.h"
#include "support/SamplePrograms.h"

#include <gtest/gtest.h>

using namespace zx;

struct NameCase {
    int brand;
    int channels;
    int deviceCode;
    bool programNumber;
    int messKanal;
    const char *name;
    int bewft = 0;
    int busDevice = 0;
};

class ModelNameDerivation : public ::testing::TestWithParam<NameCase> {};

TEST_P(ModelNameDerivation, FromBrandChannelsAndCode)
{
    const NameCase &c = GetParam();
    Model model;
    model.BrandNumber = c.brand;
    model.device.Kanalzahl = c.channels;
    model.device.DeviceCode = c.deviceCode;
    model.program().ProgramNumber = c.programNumber ? 4711 : NoProgramNumber;
    model.device.MessKanal = c.messKanal;
    model.device.Bewft = c.bewft;
    model.device.BusDevice = c.busDevice;
    model.device.ModelName = "stale";
    DeriveModelName(model);
    EXPECT_EQ(model.device.ModelName, QString::fromUtf8(c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ModelNameDerivation,
    ::testing::Values(NameCase{1, 1, 72, false, 0, "ZX 101"}, NameCase{1, 1, 73, false, 0, "ZX 201"},
                      NameCase{1, 2, 72, false, 0, "ZX 102"}, NameCase{1, 2, 73, false, 0, "ZX 202"},
                      NameCase{1, 3, 72, false, 0, ""}, // S3 is not offered
                      NameCase{1, 3, 73, false, 0, "ZX 203"}, NameCase{1, 4, 72, false, 0, "ZX 104"},
                      NameCase{1, 4, 73, false, 0, "ZX 204"},
                      // a write-protectable device's program without special priorities is saved as 72
                      NameCase{1, 4, 72, false, 0, "ZX 204", 1}, NameCase{1, 2, 72, false, 0, "ZX 202", 1},
                      NameCase{1, 4, 72, false, 0, "ZX 104 B", 0, 1},
                      NameCase{1, 4, 73, false, 0, "ZX 204 B", 0, 1},
                      NameCase{2, 4, 72, false, 0, "ZX 501", 0, 1},
                      NameCase{1, 4, 72, true, 0, "ZX 304"},  // program number: utility model
                      NameCase{1, 4, 73, false, 2, "ZX 304"}, // meter pulse: utility model
                      NameCase{1, 1, 80, false, 0, "ZX 401"}, NameCase{1, 4, 80, false, 0, "ZX 401"},
                      NameCase{1, 4, 72 | 0x80, false, 0, "ZX 104"}, // master-card bit ignored
                      NameCase{1, 8, 72, false, 0, ""}, NameCase{1, 2, 75, false, 0, ""},
                      NameCase{2, 4, 72, false, 0, ""}, NameCase{2, 2, 80, false, 0, ""},
                      NameCase{4, 4, 73, true, 0, ""}));

// Loading a program names the model from what the file says about the device.
class ModelNameAfterLoad : public ::testing::Test {
  protected:
    QByteArray programText(int channels, int deviceCode, qint32 programNumber)
    {
        Model source;
        source.device.Kanalzahl = channels;
        source.device.DeviceCode = deviceCode;
        source.device.Evu = 1;
        source.program().ProgramNumber = programNumber;
        source.appendRecord(SetProgram, test::weeklyTime(6, 30, 31, 1));
        const MemoryImage image = BuildImage(source, QDateTime(QDate(2024, 3, 1), QTime(8, 0)));
        return FormatProgramText(image, "use", source.program().ChannelNames);
    }
};

TEST_F(ModelNameAfterLoad, ProgramNumberNamesTheUtilityModel)
{
    Model model;
    model.BrandNumber = 1;
    ASSERT_EQ(LoadProgramText(model, programText(4, 72, 4711), false, SetProgram), LoadResult::Loaded);
    EXPECT_EQ(model.device.ModelName, "ZX 304");

    ASSERT_EQ(LoadProgramText(model, programText(4, 72, NoProgramNumber), false, SetProgram),
              LoadResult::Loaded);
    EXPECT_EQ(model.device.ModelName, "ZX 104");

    ASSERT_EQ(LoadProgramText(model, programText(2, 73, NoProgramNumber), false, SetProgram),
              LoadResult::Loaded);
    EXPECT_EQ(model.device.ModelName, "ZX 202");
}

// A ZX 204 program without special priorities is saved with code 72; reopened on that device it
// is still the ZX 204's, and a program with code 73 needs a ZX 204 whatever device was in use.
TEST_F(ModelNameAfterLoad, AReopenedWriteProtectableProgramNamesItsOwnModel)
{
    for (const auto &[bewft, code] : {std::pair{1, 72}, std::pair{0, 73}}) {
        Model model;
        model.BrandNumber = 1;
        model.device.Bewft = bewft;
        ASSERT_EQ(LoadProgramText(model, programText(4, code, NoProgramNumber), false, SetProgram),
                  LoadResult::Loaded);
        EXPECT_EQ(model.device.ModelName, "ZX 204") << bewft << code;
    }
}

TEST_F(ModelNameAfterLoad, ModelTheBrandDoesNotSellHasNoName)
{
    Model model;
    model.BrandNumber = 2;
    ASSERT_EQ(LoadProgramText(model, programText(2, 72, NoProgramNumber), false, SetProgram),
              LoadResult::Loaded);
    EXPECT_EQ(model.device.ModelName, "");
}
