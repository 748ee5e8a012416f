#include "platform/TextDecoding.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

struct EncodingCase {
    const char *utf8Text;
    QByteArray bytes; // as written to a file
};

void PrintTo(const EncodingCase &c, std::ostream *os)
{
    *os << c.utf8Text;
}

class TextEncodingTest : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(TextEncodingTest, RoundTripIsByteExact)
{
    const QString text = QString::fromUtf8(GetParam().utf8Text);
    const QByteArray written = encodeText(text);
    EXPECT_EQ(written, GetParam().bytes);
    EXPECT_EQ(decodeText(written), text);
    EXPECT_EQ(encodeText(decodeText(written)), written);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextEncodingTest,
    ::testing::Values(
        // every character fits: Windows-1252, including the characters of 0x80..0x9F
        EncodingCase{"Küche", QByteArray("K\xfc"
                                         "che")},
        EncodingCase{"Straße", QByteArray("Stra\xdf"
                                          "e")},
        EncodingCase{"Büro € – „Tür“", QByteArray("B\xfcro \x80 \x96 \x84T\xfcr\x93")},
        EncodingCase{"plain", QByteArray("plain")},
        // the first and the last of 0x80..0x9F
        EncodingCase{"€ Ÿ", QByteArray("\x80 \x9f")},
        // one character outside: the whole text in UTF-8
        EncodingCase{"Küche Ω", QByteArray("K\xc3\xbc"
                                           "che \xce\xa9")},
        EncodingCase{"Straße ☀", QByteArray("Stra\xc3\x9f"
                                            "e \xe2\x98\x80")},
        // Windows-1252 bytes that are valid UTF-8 would read back wrongly: UTF-8 right away
        EncodingCase{"Ã¼", QByteArray("\xc3\x83\xc2\xbc")}));

// Control characters, NUL included, are Windows-1252 bytes of their own: a text holding one and
// a legacy letter stays in Windows-1252.
TEST(TextEncoding, ControlCharactersKeepALegacyText)
{
    const QString text = QString(QChar(0)) + QChar(0x1B) + QChar(0xFC);
    EXPECT_EQ(encodeText(text), QByteArray("\0\x1b\xfc", 3));
    EXPECT_EQ(decodeText(encodeText(text)), text);
}

} // namespace
} // namespace zx
