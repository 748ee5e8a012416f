#pragma once

namespace zx {

// Qt's own texts (standard buttons, file, print and colour dialogs) in the interface language:
// German and French from the system's Qt translations, English for any other language. A later
// call replaces the earlier choice. false when the translation of a German or French interface
// is not installed (the texts stay English).
bool useQtTranslations(int language);

} // namespace zx
