#include "i18n/Catalogue.h"

#include "i18n/BuiltinCatalogues.h"
#include "platform/ProductVersion.h"

namespace zx {

Catalogue::Catalogue()
{
    fillBuiltin(English, 1);
}

const QString &Catalogue::text(int position) const
{
    static const QString empty;
    if (position < 1 || position > Msg::Count)
        return empty;
    return texts_[position];
}

void Catalogue::setText(int position, const QString &text)
{
    if (position < 1 || position > Msg::Count)
        return;
    store(texts_, position, text);
}

void Catalogue::store(Texts &texts, int position, const QString &text)
{
    // 368 and 378 are one entry: whichever is written last holds for both.
    if (position == Msg::Holidays || position == Msg::Holidays378) {
        texts[Msg::Holidays] = text;
        texts[Msg::Holidays378] = text;
        return;
    }
    texts[position] = text;
}

QString Catalogue::productTitleFor(int brand)
{
    return (brand == 5 ? QStringLiteral("Chipwerk ") : QStringLiteral("Zentrix ")) + TitleVersion();
}

QString Catalogue::versionTextConstant()
{
    return CatalogueVersionText();
}

void Catalogue::setHeader(int brand)
{
    productTitle = productTitleFor(brand);
    versionText = versionTextConstant();
}

namespace {

// The built-in texts of one language, in the memory-chip wording (brand 5) or not.
template <int Language, bool ChipWording> const Catalogue::Texts &builtinTexts()
{
    // Built once: a catalogue is filled several times before the first window shows (the
    // model's own, then the brand's), and a copy of a QString shares its text.
    static const Catalogue::Texts texts = [] {
        const std::array<const char *, Msg::Count + 1> &table = Language == German   ? builtin::german()
                                                                : Language == French ? builtin::french()
                                                                                     : builtin::english();
        Catalogue::Texts filled;
        // In position order, so that 378 (written after 368) holds for both positions.
        for (int pos = 1; pos <= Msg::Count; ++pos)
            Catalogue::store(filled, pos, QString::fromUtf8(table[pos]));
        if constexpr (ChipWording) {
            for (const auto &v : Language == German ? builtin::germanBrand5() : builtin::englishBrand5())
                Catalogue::store(filled, v.position, QString::fromUtf8(v.text));
        }
        return filled;
    }();
    return texts;
}

} // namespace

void Catalogue::fillBuiltin(int language, int brand)
{
    setHeader(brand);
    language_ = language == German || language == French ? language : English;
    const bool chip = brand == 5;
    switch (language_) {
    case German:
        helpFile = QStringLiteral("Zentri2D.hlp");
        texts_ = chip ? builtinTexts<German, true>() : builtinTexts<German, false>();
        break;
    case French:
        helpFile = QStringLiteral("Zentri2F.hlp");
        // One French text for all brands.
        texts_ = builtinTexts<French, false>();
        break;
    default:
        helpFile = QStringLiteral("Zentri2E.hlp");
        texts_ = chip ? builtinTexts<English, true>() : builtinTexts<English, false>();
        break;
    }
    texts_[Msg::MenuHelpFor] = texts_[Msg::MenuHelpFor] + productTitle;
}

} // namespace zx
