#include "app/ModelNames.h"

#include "model/Model.h"

#include <gtest/gtest.h>

using namespace zx;

struct NameCase {
    int brand;
    int channels;
    int deviceCode;
    bool programNumber;
    int messKanal;
    const char *name;
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
    model.device.ModelName = "stale";
    DeriveModelName(model);
    EXPECT_EQ(model.device.ModelName, QString::fromUtf8(c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ModelNameDerivation,
    ::testing::Values(NameCase{1, 1, 72, false, 0, "ZX 101"}, NameCase{1, 1, 73, false, 0, "ZX 201"},
                      NameCase{1, 2, 72, false, 0, "ZX 102"}, NameCase{1, 2, 73, false, 0, "ZX 202"},
                      NameCase{1, 3, 72, false, 0, ""},          // S3 is not offered
                      NameCase{1, 3, 73, false, 0, "ZX 203"}, NameCase{1, 4, 72, false, 0, "ZX 104"},
                      NameCase{1, 4, 73, false, 0, "ZX 104"},    // code 73 also names slot S4
                      NameCase{1, 4, 72, true, 0, "ZX 304"},     // program number: utility model
                      NameCase{1, 4, 73, false, 2, "ZX 304"},    // meter pulse: utility model
                      NameCase{1, 1, 80, false, 0, "ZX 401"}, NameCase{1, 4, 80, false, 0, "ZX 401"},
                      NameCase{1, 4, 72 | 0x80, false, 0, "ZX 104"}, // master-card bit ignored
                      NameCase{1, 8, 72, false, 0, ""}, NameCase{1, 2, 75, false, 0, ""},
                      NameCase{2, 4, 72, false, 0, ""}, NameCase{2, 2, 80, false, 0, ""},
                      NameCase{4, 4, 73, true, 0, ""}));
