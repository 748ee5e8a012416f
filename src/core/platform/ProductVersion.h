#pragma once

#include <QString>

namespace zx {

// The one version of the program, set once by the build (the CMake project version). Every
// place that names a version derives it from here: `--version` of both programs, the About
// box, the manual pages and the package say the release form "2.0.2"; the catalogue keeps the
// device screens' own form " Version  2.0-02" (two-digit patch after a dash), made from the same
// numbers.
struct ProductVersionNumbers {
    int major;
    int minor;
    int patch;
};

ProductVersionNumbers ProductVersionParts();

// "2.0.2", as the package and the manual pages carry it.
QString ReleaseVersion();

// "Zentrix 2.0.2": what `--version` prints.
QString ReleaseVersionLine();

// " Version  2.0-02": the catalogue's version text, as the start screen shows it.
QString CatalogueVersionText();

// "2.0": the version in the product title ("Zentrix 2.0").
QString TitleVersion();

} // namespace zx
