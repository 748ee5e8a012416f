// The sentence that says what the loader found names the line and the values it found, in every
// language, with nothing of its placeholders left.
#include "app/LoadFailure.h"
#include "i18n/Catalogue.h"
#include "model/ProgramFile.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

TEST(LoadFaultText, NamesTheLineAndValuesInEveryLanguage)
{
    // distinct numbers, so a value put in the wrong place shows
    const LoadDetail detail{LoadFault::None, 28, 301, 324};
    for (int fault = int(LoadFault::TooLarge); fault <= int(LoadFault::ChainLoop); ++fault) {
        LoadDetail d = detail;
        d.fault = static_cast<LoadFault>(fault);
        for (const int language : {English, German, French}) {
            const QString text = LoadFaultText(d, language);
            EXPECT_FALSE(text.isEmpty()) << fault;
            EXPECT_FALSE(text.contains(QLatin1Char('%'))) << qPrintable(text);
            const bool line = fault != int(LoadFault::TooLarge) && fault != int(LoadFault::Checksum);
            EXPECT_EQ(text.contains(QStringLiteral("28")), line) << qPrintable(text);
        }
    }
    EXPECT_TRUE(LoadFaultText(LoadDetail{LoadFault::ValueOutOfRange, 28, 301, 0}, English).contains("301"));
    EXPECT_TRUE(
        LoadFaultText(LoadDetail{LoadFault::LinkBeyondCapacity, 28, 301, 324}, German).contains("324"));
    EXPECT_TRUE(LoadFaultText(LoadDetail{}, English).isEmpty());
}

} // namespace
} // namespace zx
