#include "app/LoadFailure.h"

#include "i18n/Msg.h"
#include "model/BrandTable.h"
#include "model/Model.h"
#include "platform/SystemReasons.h"

#include <iterator>

namespace zx {

QString OtherDeviceName(const Model &model, LoadResult result)
{
    const Brand &brand = BrandTable(model.BrandNumber);
    // A brand without an astro model still gets told the file is for an astro device.
    if (result == LoadResult::OtherType236)
        return brand.offers(Slot::S19) ? brand.slotName(Slot::S19)
                                       : model.catalogue.text(Msg::AstronomicalTimes);
    return brand.shortDeviceName;
}

QString LoadFaultText(const LoadDetail &detail, int language)
{
    struct Row {
        const char *en, *de, *fr;
    };
    // one row per LoadFault after None
    static const Row rows[] = {
        {"The file is larger than any program file (%4 bytes at most).",
         "Die Datei ist größer als jede Programmdatei (höchstens %4 Bytes).",
         "Le fichier est plus grand que tout fichier programme (%4 octets au plus)."},
        {"The file ends at line %1, before its 2048 numbers are complete.",
         "Die Datei endet in Zeile %1, bevor ihre 2048 Zahlen vollständig sind.",
         "Le fichier se termine à la ligne %1, avant que ses 2048 nombres soient complets."},
        {"Line %1 holds something that is not a number.", "Zeile %1 enthält etwas, das keine Zahl ist.",
         "La ligne %1 contient autre chose qu'un nombre."},
        {"Line %1 holds the value %2, out of range 0..255.",
         "Zeile %1 enthält den Wert %2, außerhalb von 0..255.",
         "La ligne %1 contient la valeur %2, hors de 0..255."},
        {"The checksum does not match: the values add up to %2 instead of 0 modulo 256.",
         "Die Prüfsumme stimmt nicht: die Werte ergeben %2 statt 0 modulo 256.",
         "La somme de contrôle ne correspond pas : les valeurs donnent %2 au lieu de 0 modulo 256."},
        {"Line %1 links to record slot %2, beyond the %3 slots of the device.",
         "Zeile %1 verweist auf Speicherplatz %2, jenseits der %3 Plätze des Geräts.",
         "La ligne %1 renvoie à l'emplacement %2, au-delà des %3 emplacements de l'appareil."},
        {"The record chain runs in a loop: more than %3 records, back again at line %1.",
         "Die Kette der Einträge läuft im Kreis: mehr als %3 Einträge, wieder in Zeile %1.",
         "La chaîne des entrées tourne en rond : plus de %3 entrées, de nouveau à la ligne %1."},
    };
    static_assert(std::size(rows) == static_cast<std::size_t>(LoadFault::ChainLoop));
    if (detail.ok())
        return {};
    const Row &r = rows[static_cast<int>(detail.fault) - 1];
    // each text uses some of the four values; arg() would renumber the ones left out
    QString text = QString::fromUtf8(language == German ? r.de : language == French ? r.fr : r.en);
    const qint64 values[] = {detail.line, detail.value, detail.limit, MaxProgramFileSize};
    for (int i = 0; i < 4; ++i)
        text.replace(QLatin1Char('%') + QString::number(i + 1), QString::number(values[i]));
    return text;
}

QString LoadFailureText(const Model &model, LoadResult result, const QString &reason,
                        const LoadDetail *detail)
{
    const Catalogue &c = model.catalogue;
    switch (result) {
    case LoadResult::Loaded:
        return {};
    case LoadResult::Unreadable:
        return TranslateReasons(reason, c.language());
    case LoadResult::Missing:
        return c(Msg::NoSuchFile);
    case LoadResult::GroupConflict:
        return c(Msg::FormatConflictEIBConventionell);
    case LoadResult::OtherType517:
    case LoadResult::OtherType236:
        return c(Msg::FileFor) + QLatin1Char(' ') + OtherDeviceName(model, result);
    case LoadResult::Invalid:
        if (detail && !detail->ok())
            return c(Msg::IllegalFile) + QLatin1Char('\n') + LoadFaultText(*detail, c.language());
        break;
    case LoadResult::MasterCard: // option bits for the device, no program to open
        break;
    }
    return c(Msg::IllegalFile);
}

} // namespace zx
