#include "platform/ProductVersion.h"

#ifndef ZX_VERSION_MAJOR
#error "the build sets ZX_VERSION_MAJOR, ZX_VERSION_MINOR and ZX_VERSION_PATCH from the project version"
#endif

namespace zx {

ProductVersionNumbers ProductVersionParts()
{
    return {ZX_VERSION_MAJOR, ZX_VERSION_MINOR, ZX_VERSION_PATCH};
}

QString ReleaseVersion()
{
    const ProductVersionNumbers v = ProductVersionParts();
    return QStringLiteral("%1.%2.%3").arg(v.major).arg(v.minor).arg(v.patch);
}

QString ReleaseVersionLine()
{
    return QStringLiteral("Zentrix ") + ReleaseVersion();
}

QString CatalogueVersionText()
{
    // the device screens' form: two spaces after the word, the patch as two digits after a dash
    const ProductVersionNumbers v = ProductVersionParts();
    return QStringLiteral(" Version  %1.%2-%3")
        .arg(v.major)
        .arg(v.minor)
        .arg(v.patch, 2, 10, QLatin1Char('0'));
}

QString TitleVersion()
{
    const ProductVersionNumbers v = ProductVersionParts();
    return QStringLiteral("%1.%2").arg(v.major).arg(v.minor);
}

} // namespace zx
