// The built-in German and French catalogues against the English one: every position filled,
// the blanks at either end where callers rely on them, the fixed texts of the lists, the
// brand-5 wording and the menu accelerators.
#include "i18n/BuiltinCatalogues.h"
#include "i18n/Catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

using namespace zx;

namespace {

int leadingBlanks(const QString &s)
{
    int n = 0;
    while (n < s.size() && s[n] == u' ')
        ++n;
    return n;
}

int trailingBlanks(const QString &s)
{
    int n = 0;
    while (n < s.size() && s[s.size() - 1 - n] == u' ')
        ++n;
    return n;
}

Catalogue filled(int language, int brand = 1)
{
    Catalogue c;
    c.fillBuiltin(language, brand);
    return c;
}

const std::array<const char *, Msg::Count + 1> &table(int language)
{
    switch (language) {
    case German:
        return builtin::german();
    case French:
        return builtin::french();
    default:
        return builtin::english();
    }
}

} // namespace

TEST(CatalogueLanguages, NoEmptyPosition)
{
    for (int language : {German, English, French}) {
        const Catalogue c = filled(language);
        for (int pos = 1; pos <= Msg::Count; ++pos) {
            if (language == French && pos == Msg::HoursWord)
                continue; // French times read "6h30": no hour word after them
            EXPECT_FALSE(c(pos).isEmpty()) << "language " << language << " position " << pos;
        }
    }
    EXPECT_EQ(filled(French)(Msg::HoursWord), "");
}

TEST(CatalogueLanguages, TablesAreValidUtf8)
{
    for (int language : {German, English, French}) {
        for (int pos = 1; pos <= Msg::Count; ++pos) {
            const QByteArray raw(table(language)[pos]);
            EXPECT_EQ(QString::fromUtf8(raw).toUtf8(), raw) << "language " << language << " position " << pos;
        }
    }
}

TEST(CatalogueLanguages, EdgeBlanksFollowEnglish)
{
    // Deliberate differences: the German day-1 text "1. " and the French "1er " carry the blank
    // that English puts nowhere (the month follows them), the German changeover list name is
    // "SoWi-Tabelle " with its blank, and French joins day and month by a blank alone.
    const std::map<int, std::set<int>> exceptions = {
        {German, {Msg::FirstOfMonth, Msg::ListChangeoverTable}},
        {French, {Msg::FirstOfMonth, Msg::DaySuffix}},
    };
    const Catalogue english = filled(English);
    for (int language : {German, French}) {
        const Catalogue c = filled(language);
        for (int pos = 1; pos <= Msg::Count; ++pos) {
            if (exceptions.at(language).count(pos))
                continue;
            EXPECT_EQ(leadingBlanks(c(pos)), leadingBlanks(english(pos)))
                << "language " << language << " position " << pos << " \"" << c(pos).toStdString() << "\"";
            EXPECT_EQ(trailingBlanks(c(pos)), trailingBlanks(english(pos)))
                << "language " << language << " position " << pos << " \"" << c(pos).toStdString() << "\"";
        }
    }
    EXPECT_EQ(filled(German)(Msg::FirstOfMonth), "1. ");
    EXPECT_EQ(filled(French)(Msg::FirstOfMonth), "1er ");
}

TEST(CatalogueLanguages, HolidaysIsOneEntry)
{
    for (int language : {German, English, French}) {
        for (int brand : {1, 5}) {
            const Catalogue c = filled(language, brand);
            EXPECT_EQ(c(Msg::Holidays), c(Msg::Holidays378)) << "language " << language;
        }
        EXPECT_STREQ(table(language)[Msg::Holidays], table(language)[Msg::Holidays378]);
    }
    Catalogue c;
    c.setText(Msg::Holidays, "a");
    EXPECT_EQ(c(Msg::Holidays378), "a");
    c.setText(Msg::Holidays378, "b");
    EXPECT_EQ(c(Msg::Holidays), "b");
    // positions outside the catalogue hold nothing and take nothing
    for (int outside : {0, -1, Msg::Count + 1}) {
        c.setText(outside, "x");
        EXPECT_EQ(c(outside), QString()) << outside;
    }
}

TEST(CatalogueLanguages, NoCommaOrLineBreakInAnyText)
{
    // A language file holds one text per line and no entry contains a comma.
    for (int language : {German, English, French}) {
        for (int brand : {1, 5}) {
            const Catalogue c = filled(language, brand);
            for (int pos = 1; pos <= Msg::Count; ++pos) {
                EXPECT_FALSE(c(pos).contains(u',')) << "language " << language << " position " << pos;
                EXPECT_FALSE(c(pos).contains(u'\n') || c(pos).contains(u'\r'))
                    << "language " << language << " position " << pos;
            }
        }
    }
}

TEST(CatalogueLanguages, GermanFixedTexts)
{
    const Catalogue c = filled(German);
    EXPECT_EQ(c(Msg::HolidayFileName), "deutsch.hdy");
    EXPECT_EQ(c(Msg::LocationFileName), "deutsch.ord");
    const char *days[] = {"Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(c(Msg::Monday + i), QString::fromUtf8(days[i]));
    EXPECT_EQ(c(Msg::Daily), QString::fromUtf8("täglich"));
    const char *months[] = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                            "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(c(Msg::January + i), QString::fromUtf8(months[i]));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(c(Msg::Channel1 + i), QStringLiteral("Kanal %1").arg(i + 1));
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(c(Msg::Priority1 + i), QStringLiteral("Programm P%1").arg(i + 1));
    EXPECT_EQ(c(Msg::Permanent), "Permanent");
    EXPECT_EQ(c(Msg::On), "EIN");
    EXPECT_EQ(c(Msg::Off), "AUS");
    EXPECT_EQ(c(Msg::SaveChangesIn), QString::fromUtf8("Änderungen speichern in "));
    EXPECT_EQ(c(Msg::FilePrefix), "Datei ");
    EXPECT_EQ(c(Msg::ListSwitchingProgram), "Schaltzeiten");
    EXPECT_EQ(c(Msg::ListPriorityProgram), QString::fromUtf8("Prioritätszeiten"));
    EXPECT_EQ(c(Msg::ListChangeoverTable), "SoWi-Tabelle ");
    EXPECT_EQ(c(Msg::HoursWord), "Uhr");
    EXPECT_EQ(c(Msg::DaySuffix), ". ");
    EXPECT_EQ(c(Msg::FirstOfMonth), "1. ");
    EXPECT_EQ(c(Msg::TimeSeparator), ":");
    EXPECT_EQ(c(Msg::NoMoreMemorySpace), "Kein weiterer Speicher mehr frei !");
    EXPECT_EQ(c(Msg::ThisProgramAlreadyExists), "Schaltzeit bereits vorhanden !");
    const char *abbr[] = {" Mo", " Di", " Mi", " Do", " Fr", " Sa", " So"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(c(Msg::AbbrMonday + i), QString::fromUtf8(abbr[i]));
    EXPECT_EQ(c(Msg::DefaultFilePrefix), "SzTab");
    EXPECT_EQ(c(Msg::MenuHelpFor), "&Hilfe zu Zentrix 2.0");
    EXPECT_EQ(filled(German, 5)(Msg::MenuHelpFor), "&Hilfe zu Chipwerk 2.0");
}

TEST(CatalogueLanguages, FrenchFixedTexts)
{
    const Catalogue c = filled(French);
    EXPECT_EQ(c(Msg::HolidayFileName), "france.hdy");
    EXPECT_EQ(c(Msg::LocationFileName), "france.ord");
    const char *days[] = {"lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi", "dimanche"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(c(Msg::Monday + i), QString::fromUtf8(days[i]));
    EXPECT_EQ(c(Msg::Daily), "tous les jours");
    const char *months[] = {"janvier", "fevrier", "mars",      "avril",   "mai",      "juin",
                            "juillet", "août",    "septembre", "octobre", "novembre", "décembre"};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(c(Msg::January + i), QString::fromUtf8(months[i]));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(c(Msg::Channel1 + i), QStringLiteral("canal %1").arg(i + 1));
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(c(Msg::Priority1 + i), QString::fromUtf8("priorité %1").arg(i + 1));
    EXPECT_EQ(c(Msg::Permanent), "permanent");
    EXPECT_EQ(c(Msg::On), "Marche");
    EXPECT_EQ(c(Msg::Off), QString::fromUtf8("Arrêt"));
    EXPECT_EQ(c(Msg::FilePrefix), "Fichier ");
    EXPECT_EQ(c(Msg::HoursWord), "");
    EXPECT_EQ(c(Msg::DaySuffix), " ");
    EXPECT_EQ(c(Msg::TimeSeparator), "h");
    EXPECT_EQ(c(Msg::DefaultFilePrefix), "tbcom");
    EXPECT_EQ(c(Msg::MenuHelpFor), "&Aide sur Zentrix 2.0");
}

// A dialog's close button and the program's Exit command are different words; the German
// programming interface (serial) and programming adapter (parallel) are told apart.
TEST(CatalogueLanguages, CloseButtonAndInterfacesAreNamedApart)
{
    const Catalogue de = filled(German);
    const Catalogue fr = filled(French);
    EXPECT_EQ(de(Msg::BtnExit), QString::fromUtf8("Schließen"));
    EXPECT_EQ(de(Msg::MenuExit), "&Beenden");
    EXPECT_EQ(fr(Msg::BtnExit), "Fermer");
    EXPECT_EQ(fr(Msg::MenuExit), "&Quitter");
    for (int serial : {Msg::ThereIsNoZentrixIn, Msg::NoAnswerFromTheProgramm})
        EXPECT_TRUE(de(serial).contains(QStringLiteral("Programmierschnittstelle"))) << serial;
    for (int parallel : {Msg::NoProgramingAdapterAtLPT, Msg::NoZentrixAtThePrograming})
        EXPECT_TRUE(de(parallel).contains(QStringLiteral("Programmieradapter"))) << parallel;
}

TEST(CatalogueLanguages, Brand5VariantsInEnglishAndGermanOnly)
{
    const std::set<int> variantPositions = {55, 56, 166, 191, 226, 227, 330, 331, 333, 334, 363};
    std::set<int> english, german;
    for (const auto &v : builtin::englishBrand5())
        english.insert(v.position);
    for (const auto &v : builtin::germanBrand5())
        german.insert(v.position);
    EXPECT_EQ(english, variantPositions);
    EXPECT_EQ(german, variantPositions);

    for (int language : {German, English, French}) {
        const Catalogue plain = filled(language, 1);
        const Catalogue chip = filled(language, 5);
        EXPECT_EQ(plain.productTitle, "Zentrix 2.0");
        EXPECT_EQ(chip.productTitle, "Chipwerk 2.0");
        for (int pos = 1; pos <= Msg::Count; ++pos) {
            if (pos == Msg::MenuHelpFor)
                continue; // carries the product title
            const bool differs = plain(pos) != chip(pos);
            const bool expected = language != French && variantPositions.count(pos);
            EXPECT_EQ(differs, expected) << "language " << language << " position " << pos;
            // French is the French table's own (368 holds 378's text, as everywhere)
            if (language == French && pos != Msg::Holidays) {
                EXPECT_EQ(chip(pos), QString::fromUtf8(builtin::french()[pos])) << "position " << pos;
            }
            if (expected) {
                EXPECT_EQ(leadingBlanks(plain(pos)), leadingBlanks(chip(pos))) << pos;
                EXPECT_EQ(trailingBlanks(plain(pos)), trailingBlanks(chip(pos))) << pos;
            }
        }
    }
    const Catalogue german5 = filled(German, 5);
    for (int pos : variantPositions)
        EXPECT_TRUE(german5(pos).contains("Speicherchip")) << pos;
    EXPECT_EQ(german5(Msg::MenuReadDevice), "Speicherchip &lesen");
    EXPECT_EQ(filled(German, 1)(Msg::MenuReadDevice), "Zentrix &lesen");
    EXPECT_EQ(filled(English, 5)(Msg::MenuProgramDevice), "Program memory chip");
}

TEST(CatalogueLanguages, HelpFileAndVersionPerLanguage)
{
    EXPECT_EQ(filled(German).helpFile, "Zentri2D.hlp");
    EXPECT_EQ(filled(English).helpFile, "Zentri2E.hlp");
    EXPECT_EQ(filled(French).helpFile, "Zentri2F.hlp");
    EXPECT_EQ(filled(7).helpFile, "Zentri2E.hlp");
    EXPECT_EQ(filled(7)(Msg::Monday), "monday");
    for (int language : {German, English, French})
        EXPECT_EQ(filled(language).versionText, " Version  2.0-02");
}

TEST(CatalogueLanguages, MenuAcceleratorsAreUniqueWithinEachMenu)
{
    const std::vector<std::vector<int>> menus = {
        {Msg::MenuFile, Msg::MenuEdit, Msg::MenuView, Msg::MenuSettings, Msg::MenuHelp},
        {Msg::MenuNew, Msg::MenuOpen, Msg::MenuSave, Msg::MenuSaveAs, Msg::MenuOpenSample,
         Msg::MenuCloseSample, Msg::MenuPrint, Msg::MenuProgramDevice, Msg::MenuReadDevice, Msg::MenuExit},
        {Msg::MenuEditSwitching, Msg::MenuEditPriority, Msg::MenuEnterAstroData, Msg::MenuEditChangeover,
         Msg::MenuDelete, Msg::MenuChange, Msg::MenuCopy, Msg::MenuFilter},
        {Msg::MenuViewSwitching, Msg::MenuViewPriority, Msg::MenuViewChangeover, Msg::MenuViewSampleSwitching,
         Msg::MenuViewSamplePriority, Msg::MenuViewSampleChangeover, Msg::Astrotimes, Msg::ProgramSimulation},
        {Msg::MenuEditAssistant, Msg::MenuDeviceProperties, Msg::MenuHolidays},
        {Msg::MenuHelpFor, Msg::MenuAbout},
    };
    for (int language : {German, French}) {
        for (int brand : {1, 5}) {
            const Catalogue c = filled(language, brand);
            for (const auto &menu : menus) {
                std::set<QChar> keys;
                for (int pos : menu) {
                    const QString caption = c(pos);
                    const int amp = caption.indexOf(u'&');
                    if (amp < 0)
                        continue;
                    EXPECT_EQ(caption.count(u'&'), 1) << caption.toStdString();
                    ASSERT_LT(amp + 1, caption.size());
                    const QChar key = caption[amp + 1].toLower();
                    EXPECT_TRUE(keys.insert(key).second) << "language " << language << ": accelerator of \""
                                                         << caption.toStdString() << "\" repeats in its menu";
                }
            }
            // Every caption the English menus mark carries an accelerator here as well.
            const Catalogue english = filled(English, brand);
            for (int pos = Msg::MenuFile; pos <= Msg::MenuAbout; ++pos)
                EXPECT_EQ(c(pos).contains(u'&'), english(pos).contains(u'&')) << "position " << pos;
            EXPECT_TRUE(c(Msg::MenuEnterAstroData).contains(u'&'));
        }
    }
}
