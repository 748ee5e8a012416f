#pragma once

#include "i18n/Msg.h"

#include <QString>

#include <array>

namespace zx {

// Language codes (Sprache).
enum Language : int { German = 1, English = 2, French = 3, Loaded = 4 };

// The message catalogue: 402 texts by position in the chosen language, plus the product
// title, the version text and the help file name that go with it.
class Catalogue {
  public:
    // The texts by position; position 0 is unused.
    using Texts = std::array<QString, Msg::Count + 1>;

    Catalogue();

    const QString &text(int position) const;
    const QString &operator()(int position) const { return text(position); }
    void setText(int position, const QString &text);

    QString productTitle;
    QString versionText;
    QString helpFile;

    // Fills one of the built-in languages (1 German, 2 English, 3 French); any other code
    // gives English. Brand 5 gets its memory-chip wording.
    void fillBuiltin(int language, int brand);

    // Fills the catalogue for a language code: 4 reads "speech.txt" from dir, any other code
    // is a built-in language as for fillBuiltin.
    // On failure the catalogue stays as it was and error holds the system's text.
    bool fill(int language, int brand, const QString &dir, QString *error = nullptr);

    // Reads a language file (402 lines); fails and changes nothing when the file cannot be
    // opened or ends early.
    bool readLanguageFile(const QString &path, QString *error = nullptr);
    // Writes the 402 texts, one per line.
    bool writeLanguageFile(const QString &path, QString *error = nullptr) const;

    // The language the texts are in (German, English, French or Loaded).
    int language() const { return language_; }

    static QString productTitleFor(int brand);
    static QString versionTextConstant();
    // Puts one text at its position (1..Msg::Count) of a set of texts.
    static void store(Texts &texts, int position, const QString &text);

  private:
    void setHeader(int brand);
    Texts texts_;
    int language_ = English;
};

} // namespace zx
