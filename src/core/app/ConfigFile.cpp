#include "app/ConfigFile.h"

#include "app/StartUp.h"
#include "i18n/Catalogue.h"
#include "i18n/ExtraTexts.h"
#include "model/BrandTable.h"
#include "model/ChangeoverRules.h"
#include "model/Model.h"
#include "platform/FileAccess.h"
#include "platform/TextDecoding.h"

#include <QDir>
#include <QFile>

namespace zx {
namespace {

enum Line : int {
    Kanalzahl,
    Bewft,
    PortSetting,
    Uhrentyp,
    Delay,
    PrintHeaderInterval,
    MaxDelay,
    SwRegel,
    GermanDisplay,
    Sprache,
    AstroC1C2,
    Busprog,
    MessKanal,
    MessPeriode,
    MessImpDauer,
    MessZustand,
    MessZeitpunkt,
    Evu,
};

// The transfer keeps the delay factor four times finer than the file shows it.
constexpr int DelayScale = 4;

} // namespace

const std::array<ConfigKey, ConfigLines> &ConfigKeys()
{
    static const std::array<ConfigKey, ConfigLines> keys = {{
        {"KANALZAHL=", 1, "KANALZAHL"},
        {"BEWFT=", 1, "BEWFT"},
        {"LPT=", 1, "LPT"},
        {"UHRENTYP=", 3, "UHRENTYP"},
        {"DELAY=00", 3, "DELAY"},
        {"ZEILEN=0", 3, "ZEILEN"},
        {"MAXDELAY=00", 3, "MAXDELAY"},
        {"SWREGEL=", 1, "SWREGEL"},
        {"SPRACHE(Uhr)=", 1, "SPRACHE(Uhr)"},
        {"SPRACHE=", 1, "SPRACHE"},
        {"ASTROC1C2=00", 1, "ASTROC1C2"},
        {"BUSPROG=", 1, "BUSPROG"},
        {"MESSKANAL=", 1, "MESSKANAL"},
        {"MESSPERIODE=0", 2, "MESSPERIODE"},
        {"MESSIMPDAUER=0", 2, "MESSIMPDAUER"},
        {"MESSZUSTAND=", 1, "MESSZUSTAND"},
        {"MESSZEITPUNKT=", 1, "MESSZEITPUNKT"},
        {"EVU=", 1, "EVU"},
    }};
    return keys;
}

int ConfigNumber(const QString &text)
{
    int i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > 32767) // the settings are 16-bit values
            value = 32767;
    }
    return static_cast<int>(negative ? -value : value);
}

ConfigReadResult ReadConfigValues(const QString &path)
{
    ConfigReadResult result;
    const FileContent file = ReadRegularFile(path);
    if (file.status == ReadStatus::Missing) {
        result.status = ConfigStatus::Missing;
        return result;
    }
    if (!file.ok()) {
        result.status = ConfigStatus::Error;
        result.errorText = file.error;
        return result;
    }
    QStringList lines = splitTextLines(decodeText(file.content));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the line end of the last line starts no further line
    result.lineCount = static_cast<int>(lines.size());
    if (lines.size() < ConfigLines) {
        result.status = ConfigStatus::Short;
        return result;
    }
    const auto &keys = ConfigKeys();
    for (int i = 0; i < ConfigLines; ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        result.values[i] = ConfigNumber(line.right(keys[i].width));
    }
    result.status = ConfigStatus::Read;
    return result;
}

bool ConfigValueInRange(int line, int value)
{
    auto within = [value](int low, int high) { return value >= low && value <= high; };
    switch (line) {
    case Kanalzahl:
        return within(1, 8);
    case Uhrentyp:
        return value == TypeAnnual || value == TypeAstro;
    case PortSetting:
        return within(1, 9); // LPT1..3, from 4 on COM(n - 3)
    case Delay:
    case PrintHeaderInterval:
    case MaxDelay:
        return value >= 0;
    case SwRegel:
        return within(0, 4);
    case Sprache:
        return within(German, Loaded);
    case Busprog:
        return within(-1, 1); // written as -1, read back through its last digit as 1
    case MessKanal:
        return within(0, 4);
    case MessPeriode:
        for (int p : {1, 2, 3, 4, 5, 6, 10, 12, 15, 20, 30, 60})
            if (value == p)
                return true;
        return false;
    case MessImpDauer:
        return within(1, 60);
    case Bewft:
    case GermanDisplay:
    case AstroC1C2:
    case MessZustand:
    case MessZeitpunkt:
    case Evu:
    default:
        return within(0, 1);
    }
}

ConfigValues ConfigValuesInRange(const Model &model, const ConfigValues &values, std::vector<int> *replaced)
{
    Model fresh = model;
    ApplyConfigDefaults(fresh);
    const ConfigValues defaults = ConfigValuesOf(fresh);
    ConfigValues result = values;
    for (int i = 0; i < ConfigLines; ++i) {
        if (ConfigValueInRange(i, values[i]))
            continue;
        result[i] = defaults[i];
        if (replaced)
            replaced->push_back(i);
    }
    return result;
}

void ApplyConfigValues(Model &model, const ConfigValues &read)
{
    const ConfigValues v = ConfigValuesInRange(model, read);
    DeviceProperties &d = model.device;
    d.Kanalzahl = v[Kanalzahl];
    d.Bewft = v[Bewft];
    model.transfer.PortSetting = v[PortSetting];
    d.Uhrentyp = v[Uhrentyp];
    model.transfer.Delay = v[Delay] * DelayScale;
    model.transfer.PrintHeaderInterval = v[PrintHeaderInterval];
    model.transfer.MaxDelay = v[MaxDelay];
    d.SwRegel = v[SwRegel];
    model.options.GermanDisplay = v[GermanDisplay];
    d.Sprache = v[Sprache];
    model.astro.AstroC1C2 = v[AstroC1C2];
    d.Busprog = v[Busprog];
    d.MessKanal = v[MessKanal];
    d.MessPeriode = v[MessPeriode];
    d.MessImpDauer = v[MessImpDauer];
    d.MessZustand = v[MessZustand];
    d.MessZeitpunkt = v[MessZeitpunkt];
    d.Evu = v[Evu];
}

ConfigValues ConfigValuesOf(const Model &model)
{
    const DeviceProperties &d = model.device;
    ConfigValues v{};
    v[Kanalzahl] = d.Kanalzahl;
    v[Bewft] = d.Bewft;
    v[PortSetting] = model.transfer.PortSetting;
    v[Uhrentyp] = d.Uhrentyp;
    v[Delay] = model.transfer.Delay / DelayScale;
    v[PrintHeaderInterval] = model.transfer.PrintHeaderInterval;
    v[MaxDelay] = model.transfer.MaxDelay;
    v[SwRegel] = d.SwRegel;
    v[GermanDisplay] = model.options.GermanDisplay;
    v[Sprache] = d.Sprache;
    v[AstroC1C2] = model.astro.AstroC1C2;
    v[Busprog] = d.Busprog;
    v[MessKanal] = d.MessKanal;
    v[MessPeriode] = d.MessPeriode;
    v[MessImpDauer] = d.MessImpDauer;
    v[MessZustand] = d.MessZustand;
    v[MessZeitpunkt] = d.MessZeitpunkt;
    v[Evu] = d.Evu;
    return v;
}

QByteArray ConfigText(const ConfigValues &values)
{
    QByteArray out;
    const auto &keys = ConfigKeys();
    for (int i = 0; i < ConfigLines; ++i) {
        // The zeros at the end of a key pad the value to the width the reader takes. "ZEILEN=0"
        // pads one digit too few: a one-digit value would read back as "=05", that is 0, so
        // such a value gets the missing zero itself.
        const QByteArray key(keys[i].written);
        int zeros = 0;
        while (zeros < key.size() && key[key.size() - 1 - zeros] == '0')
            ++zeros;
        QByteArray number = QByteArray::number(values[i]);
        const int digits = keys[i].width - zeros;
        if (values[i] >= 0 && number.size() < digits)
            number = QByteArray(digits - number.size(), '0') + number;
        out += key + number + "\r\n";
    }
    return out;
}

bool WriteConfigFile(const Model &model, const QString &path, QString *error)
{
    QString reason;
    if (WriteFileAtomically(path, ConfigText(ConfigValuesOf(model)), &reason))
        return true;
    // "No space left on device" alone does not say that the settings are what was lost.
    if (error)
        *error = extraText(ExtraText::SettingsNotSaved, model.device.Sprache)
                     .arg(QDir::toNativeSeparators(path), reason);
    return false;
}

void ApplyConfigDefaults(Model &model)
{
    const Model fresh;
    model.device.Bewft = fresh.device.Bewft;
    model.device.Sprache = fresh.device.Sprache;
    model.device.MessKanal = fresh.device.MessKanal;
    model.device.MessPeriode = fresh.device.MessPeriode;
    model.device.MessImpDauer = fresh.device.MessImpDauer;
    model.device.MessZustand = fresh.device.MessZustand;
    model.device.MessZeitpunkt = fresh.device.MessZeitpunkt;
    // Every brand sells in Europe: a new installation changes over to summer time as there.
    model.device.SwRegel = RuleEurope;
    model.options.GermanDisplay = fresh.options.GermanDisplay;
    model.astro.AstroC1C2 = fresh.astro.AstroC1C2;
    model.transfer.PortSetting = fresh.transfer.PortSetting;
    model.transfer.Delay = fresh.transfer.Delay;
    model.transfer.MaxDelay = fresh.transfer.MaxDelay;
    model.transfer.PrintHeaderInterval = fresh.transfer.PrintHeaderInterval;
    const Brand &brand = BrandTable(model.BrandNumber);
    for (int slot = 1; slot <= SlotCount; ++slot) {
        if (brand.offers(slot)) {
            ApplySlot(model, slot);
            break;
        }
    }
}

} // namespace zx
