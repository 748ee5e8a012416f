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
    // 368 and 378 are one entry: whichever is written last holds for both.
    if (position == Msg::Holidays || position == Msg::Holidays378) {
        texts_[Msg::Holidays] = text;
        texts_[Msg::Holidays378] = text;
        return;
    }
    texts_[position] = text;
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

void Catalogue::fillBuiltin(int language, int brand)
{
    setHeader(brand);
    language_ = language == German || language == French ? language : English;
    const std::array<const char *, Msg::Count + 1> *table = &builtin::english();
    const std::array<builtin::BrandVariant, 11> *variants = &builtin::englishBrand5();
    switch (language) {
    case German:
        helpFile = QStringLiteral("Zentri2D.hlp");
        table = &builtin::german();
        variants = &builtin::germanBrand5();
        break;
    case French:
        helpFile = QStringLiteral("Zentri2F.hlp");
        table = &builtin::french();
        variants = nullptr; // one French text for all brands
        break;
    default:
        helpFile = QStringLiteral("Zentri2E.hlp");
        break;
    }
    // Through setText, so that 378 (written after 368) holds for both positions.
    for (int pos = 1; pos <= Msg::Count; ++pos)
        setText(pos, QString::fromUtf8((*table)[pos]));
    if (brand == 5 && variants) {
        for (const auto &v : *variants)
            setText(v.position, QString::fromUtf8(v.text));
    }
    texts_[Msg::MenuHelpFor] = texts_[Msg::MenuHelpFor] + productTitle;
}

} // namespace zx
