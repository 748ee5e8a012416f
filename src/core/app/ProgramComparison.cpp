#include "app/ProgramComparison.h"

#include "calendar/Changeover.h"
#include "model/DeviceCodes.h"
#include "model/Model.h"
#include "views/ListFormatter.h"

#include <QJsonArray>

#include <algorithm>
#include <map>

namespace zx {

namespace {

// Set 0 of a model as its lists show it, without the list filter: the filter is a view of the
// editor, not a part of the program.
struct ShownLists {
    Model model;
    ListTable tables[ListKindCount];
    std::vector<int> records[2]; // switching, priority: record indexes in display order

    ShownLists(const Model &source, const ListOptions &options) : model(source)
    {
        model.FilterOn = 0;
        for (int list = 0; list < ListKindCount; ++list)
            tables[list] = views::BuildList(model, list, SetProgram, options);
        for (int list : {ListSwitching, ListPriority})
            records[list] = views::DisplayRecords(model, list, SetProgram);
    }
    QStringList rowOfRecord(int list, int recordIndex) const
    {
        for (const ListRow &row : tables[list].rows) {
            if (row.recordIndex == recordIndex)
                return row.cells;
        }
        return {};
    }
};

void compareRecordList(const ShownLists &a, const ShownLists &b, int list, ListDifference &out)
{
    std::vector<ProgramRecord> ra, rb;
    for (int i : a.records[list])
        ra.push_back(a.model.program().Records[i]);
    for (int i : b.records[list])
        rb.push_back(b.model.program().Records[i]);
    const RecordMatch m = MatchRecords(ra, rb);
    for (int i : m.onlyA)
        out.onlyA.push_back(a.rowOfRecord(list, a.records[list][i]));
    for (int j : m.onlyB)
        out.onlyB.push_back(b.rowOfRecord(list, b.records[list][j]));
    for (const auto &[i, j] : m.changed)
        out.changed.emplace_back(a.rowOfRecord(list, a.records[list][i]),
                                 b.rowOfRecord(list, b.records[list][j]));
}

void compareChangeover(const ShownLists &a, const ShownLists &b, ListDifference &out)
{
    const ProgramSet &pa = a.model.program();
    const ProgramSet &pb = b.model.program();
    const int na = std::clamp(pa.DstCount, 0, DstEntries);
    const int nb = std::clamp(pb.DstCount, 0, DstEntries);
    auto row = [](const ShownLists &s, int i) {
        for (const ListRow &r : s.tables[ListChangeover].rows)
            if (r.recordIndex == i)
                return r.cells;
        return QStringList();
    };
    for (int i = 0; i < std::max(na, nb); ++i) {
        if (i >= nb)
            out.onlyA.push_back(row(a, i));
        else if (i >= na)
            out.onlyB.push_back(row(b, i));
        else if (pa.DstTable[i] != pb.DstTable[i] || YearOfEntry(i, pa) != YearOfEntry(i, pb))
            out.changed.emplace_back(row(a, i), row(b, i));
    }
}

// The table's 366th row is a day of the list only in a leap year; the file holds it in every
// year, so it is compared as a leap year's list shows it.
std::vector<ListRow> astroRows(const ShownLists &s, const ListOptions &options)
{
    std::vector<ListRow> rows = s.tables[ListAstro].rows;
    if (rows.size() == AstroDays - 1) {
        ListOptions leap = options;
        leap.year = 2000;
        const ListTable full = views::BuildList(s.model, ListAstro, SetProgram, leap);
        if (full.rows.size() == AstroDays)
            rows.push_back(full.rows.back());
    }
    return rows;
}

void compareAstro(const ShownLists &a, const ShownLists &b, const ListOptions &options, ListDifference &out)
{
    const std::vector<ListRow> ta = astroRows(a, options);
    const std::vector<ListRow> tb = astroRows(b, options);
    const bool inA = a.model.device.Uhrentyp == TypeAstro && a.model.astro.AstroPresent;
    const bool inB = b.model.device.Uhrentyp == TypeAstro && b.model.astro.AstroPresent;
    for (int d = 0; d < AstroDays; ++d) {
        const bool rowA = inA && d < static_cast<int>(ta.size());
        const bool rowB = inB && d < static_cast<int>(tb.size());
        if (rowA && rowB) {
            if (a.model.astro.AstroTable[d] != b.model.astro.AstroTable[d])
                out.changed.emplace_back(ta[d].cells, tb[d].cells);
        } else if (rowA) {
            out.onlyA.push_back(ta[d].cells);
        } else if (rowB) {
            out.onlyB.push_back(tb[d].cells);
        }
    }
}

QString numberText(double v)
{
    return QString::number(v);
}

QString programNumberText(const Model &m)
{
    const QString t = views::ProgramNumberText(m, SetProgram);
    return t.isEmpty() ? QStringLiteral("-") : t;
}

void compareSettings(const Model &a, const Model &b, const CompareOptions &options,
                     std::vector<SettingDifference> &out)
{
    const int sprache = a.device.Sprache;
    auto add = [&](CompareText what, const QString &va, const QString &vb, const QString &name = {}) {
        if (va != vb)
            out.push_back({what, name.isEmpty() ? compareText(what, sprache) : name, va, vb});
    };
    auto num = [&](CompareText what, double va, double vb) { add(what, numberText(va), numberText(vb)); };
    const DeviceProperties &da = a.device, &db = b.device;
    num(CompareText::SetDeviceType, da.Uhrentyp, db.Uhrentyp);
    num(CompareText::SetChannels, da.Kanalzahl, db.Kanalzahl);
    num(CompareText::SetBusDevice, da.BusDevice, db.BusDevice);
    num(CompareText::SetDeviceCode, da.DeviceCode, db.DeviceCode);
    num(CompareText::SetRule, da.SwRegel, db.SwRegel);
    num(CompareText::SetWriteProtect, da.WriteProtect, db.WriteProtect);
    const DeviceOptions &oa = a.options, &ob = b.options;
    num(CompareText::SetEuroDate, oa.EuroDate, ob.EuroDate);
    num(CompareText::SetGermanDisplay, oa.GermanDisplay, ob.GermanDisplay);
    num(CompareText::SetRadioSync, oa.RadioSync, ob.RadioSync);
    num(CompareText::SetNakOff, oa.NakOff, ob.NakOff);
    num(CompareText::SetKeyPermanent, oa.KeyPermanent, ob.KeyPermanent);
    num(CompareText::SetOptionBit0, oa.OptionBit0, ob.OptionBit0);
    // The options byte means something only on a master card (a program card keeps 255 there).
    if (IsMasterCard(da.DeviceCode) || IsMasterCard(db.DeviceCode))
        num(CompareText::SetMasterOptions, da.MasterCardOptions, db.MasterCardOptions);
    num(CompareText::SetMeterChannel, da.MessKanal, db.MessKanal);
    // The meter values mean something only with a meter channel.
    if (da.MessKanal != 0 || db.MessKanal != 0) {
        num(CompareText::SetMeterPeriod, da.MessPeriode, db.MessPeriode);
        num(CompareText::SetMeterPulse, da.MessImpDauer, db.MessImpDauer);
        num(CompareText::SetMeterState, da.MessZustand, db.MessZustand);
        num(CompareText::SetMeterTiming, da.MessZeitpunkt, db.MessZeitpunkt);
    }
    add(CompareText::SetProgramNumber, programNumberText(a), programNumberText(b));
    const ProgramSet &pa = a.program(), &pb = b.program();
    if (pa.DstCount > 0 && pb.DstCount > 0) {
        num(CompareText::SetFirstYear, DstStartYear(pa), DstStartYear(pb));
        // once or twice a year: the same entries then mean other summer times
        // (the two header bits that are no code the editor writes are shown as they are)
        auto perYear = [](const ProgramSet &p) {
            const int code = DstPerYearCode(p);
            return code <= TwiceAYear ? QString::number(DstEntriesPerYear(p))
                                      : QStringLiteral("(%1)").arg(code);
        };
        add(CompareText::SetEntriesPerYear, perYear(pa), perYear(pb));
    }
    if (da.Uhrentyp == TypeAstro || db.Uhrentyp == TypeAstro) {
        const AstroData &xa = a.astro, &xb = b.astro;
        num(CompareText::SetLongitude, xa.Longitude, xb.Longitude);
        num(CompareText::SetLatitude, xa.Latitude, xb.Latitude);
        num(CompareText::SetTimeZone, xa.TimeZone, xb.TimeZone);
        num(CompareText::SetOffset1, xa.AstroOffset1, xb.AstroOffset1);
        num(CompareText::SetOffset2, xa.AstroOffset2, xb.AstroOffset2);
        num(CompareText::SetAstroMinute, xa.AstroMinute, xb.AstroMinute);
        num(CompareText::SetAstroC1C2, xa.AstroC1C2, xb.AstroC1C2);
    }
    if (options.texts) {
        // The reader drops leading blanks and appends one to each channel name: blanks at the
        // ends are no difference of the program.
        add(CompareText::SetUsageText, pa.UsageText.trimmed(), pb.UsageText.trimmed());
        for (int i = 0; i < 8; ++i)
            add(CompareText::SetChannelName, pa.ChannelNames[i].trimmed(), pb.ChannelNames[i].trimmed(),
                compareText(CompareText::SetChannelName, sprache).arg(i + 1));
    }
}

QString listTitle(const Model &m, int list)
{
    Model titled = m;
    titled.program().FileName.clear();
    return views::WindowTitle(titled, list, SetProgram).trimmed();
}

QJsonArray cellsJson(const QStringList &cells)
{
    QJsonArray a;
    for (const QString &c : cells)
        a.append(c.trimmed());
    return a;
}

QString rowText(const QStringList &cells)
{
    QStringList trimmed;
    for (const QString &c : cells)
        trimmed << c.trimmed();
    return trimmed.join(QStringLiteral(" | "));
}

// Two records are the same entry changed when at least three of their five value bytes agree
// (the link byte b2 is always 0 in the model).
bool alike(const ProgramRecord &x, const ProgramRecord &y)
{
    const int same = (x.b0 == y.b0) + (x.b1 == y.b1) + (x.b3 == y.b3) + (x.b4 == y.b4) + (x.b5 == y.b5);
    return same >= 3;
}

} // namespace

RecordMatch MatchRecords(const std::vector<ProgramRecord> &a, const std::vector<ProgramRecord> &b)
{
    const int na = static_cast<int>(a.size());
    const int nb = static_cast<int>(b.size());
    std::vector<int> partnerA(na, -1), partnerB(nb, -1);
    for (int i = 0; i < na; ++i) {
        for (int j = 0; j < nb; ++j) {
            if (partnerB[j] < 0 && a[i] == b[j]) {
                partnerA[i] = j;
                partnerB[j] = i;
                break;
            }
        }
    }
    // The place of an unmatched record: how many matched records precede it in its own list.
    std::map<int, std::pair<std::vector<int>, std::vector<int>>> gaps;
    int matched = 0;
    for (int i = 0; i < na; ++i) {
        if (partnerA[i] >= 0)
            ++matched;
        else
            gaps[matched].first.push_back(i);
    }
    matched = 0;
    for (int j = 0; j < nb; ++j) {
        if (partnerB[j] >= 0)
            ++matched;
        else
            gaps[matched].second.push_back(j);
    }
    RecordMatch m;
    for (const auto &[gap, lists] : gaps) {
        const auto &[ua, ub] = lists;
        // Within one place, a record of a and the next one of b that keeps most of its fields
        // are one entry changed; pairs keep the order of both lists.
        size_t nextB = 0;
        for (int i : ua) {
            size_t k = nextB;
            while (k < ub.size() && !alike(a[i], b[ub[k]]))
                ++k;
            if (k == ub.size()) {
                m.onlyA.push_back(i);
                continue;
            }
            for (size_t skipped = nextB; skipped < k; ++skipped)
                m.onlyB.push_back(ub[skipped]);
            m.changed.emplace_back(i, ub[k]);
            nextB = k + 1;
        }
        m.onlyB.insert(m.onlyB.end(), ub.begin() + static_cast<long>(nextB), ub.end());
    }
    std::sort(m.onlyA.begin(), m.onlyA.end());
    std::sort(m.onlyB.begin(), m.onlyB.end());
    return m;
}

bool ProgramDifferences::equal() const
{
    return settings.empty() &&
           std::all_of(lists.begin(), lists.end(), [](const auto &l) { return l.empty(); });
}

ProgramDifferences ComparePrograms(const Model &a, const Model &b, const CompareOptions &options)
{
    const ShownLists la(a, options.list);
    const ShownLists lb(b, options.list);
    ProgramDifferences d;
    for (int list = 0; list < ListKindCount; ++list) {
        ListDifference l;
        l.listView = list;
        l.title = listTitle(a, list);
        l.header = la.tables[list].header;
        if (list == ListSwitching || list == ListPriority)
            compareRecordList(la, lb, list, l);
        else if (list == ListChangeover)
            compareChangeover(la, lb, l);
        else
            compareAstro(la, lb, options.list, l);
        d.lists.push_back(std::move(l));
    }
    compareSettings(a, b, options, d.settings);
    return d;
}

QStringList DifferenceLines(const ProgramDifferences &d, const QString &nameA, const QString &nameB,
                            int sprache)
{
    QStringList lines;
    const QString onlyIn = compareText(CompareText::OnlyIn, sprache);
    for (const ListDifference &l : d.lists) {
        if (l.empty())
            continue;
        lines << l.title + QLatin1Char(':');
        lines << QStringLiteral("    ") + rowText(l.header);
        if (!l.onlyA.empty()) {
            lines << QStringLiteral("  ") + onlyIn.arg(nameA) + QLatin1Char(':');
            for (const QStringList &r : l.onlyA)
                lines << QStringLiteral("  - ") + rowText(r);
        }
        if (!l.onlyB.empty()) {
            lines << QStringLiteral("  ") + onlyIn.arg(nameB) + QLatin1Char(':');
            for (const QStringList &r : l.onlyB)
                lines << QStringLiteral("  + ") + rowText(r);
        }
        if (!l.changed.empty()) {
            lines << QStringLiteral("  ") + compareText(CompareText::Changed, sprache) + QLatin1Char(':');
            for (const auto &[ra, rb] : l.changed) {
                lines << QStringLiteral("  < ") + rowText(ra);
                lines << QStringLiteral("  > ") + rowText(rb);
            }
        }
    }
    if (!d.settings.empty()) {
        lines << compareText(CompareText::Settings, sprache) + QLatin1Char(':');
        for (const SettingDifference &s : d.settings)
            lines << QStringLiteral("  %1: %2 -> %3").arg(s.name, s.a, s.b);
    }
    return lines;
}

QJsonObject DifferencesToJson(const ProgramDifferences &d, const QString &nameA, const QString &nameB)
{
    static const char *const keys[] = {"switching", "priority", "changeover", "astro"};
    QJsonObject root;
    root.insert(QStringLiteral("a"), nameA);
    root.insert(QStringLiteral("b"), nameB);
    root.insert(QStringLiteral("equal"), d.equal());
    QJsonObject lists;
    for (const ListDifference &l : d.lists) {
        QJsonObject o;
        o.insert(QStringLiteral("columns"), cellsJson(l.header));
        QJsonArray onlyA, onlyB, changed;
        for (const QStringList &r : l.onlyA)
            onlyA.append(cellsJson(r));
        for (const QStringList &r : l.onlyB)
            onlyB.append(cellsJson(r));
        for (const auto &[ra, rb] : l.changed)
            changed.append(
                QJsonObject{{QStringLiteral("a"), cellsJson(ra)}, {QStringLiteral("b"), cellsJson(rb)}});
        o.insert(QStringLiteral("onlyA"), onlyA);
        o.insert(QStringLiteral("onlyB"), onlyB);
        o.insert(QStringLiteral("changed"), changed);
        lists.insert(QLatin1String(keys[std::clamp(l.listView, 0, 3)]), o);
    }
    root.insert(QStringLiteral("lists"), lists);
    QJsonArray settings;
    for (const SettingDifference &s : d.settings)
        settings.append(QJsonObject{
            {QStringLiteral("name"), s.name}, {QStringLiteral("a"), s.a}, {QStringLiteral("b"), s.b}});
    root.insert(QStringLiteral("settings"), settings);
    return root;
}

QString VerifyResultText(const Model &program, const Model &readBack, const ListOptions &list, bool *same)
{
    CompareOptions options;
    options.texts = false;
    options.list = list;
    const ProgramDifferences d = ComparePrograms(program, readBack, options);
    const int sprache = program.device.Sprache;
    *same = d.equal();
    if (*same)
        return compareText(CompareText::WrittenVerified, sprache);
    QStringList lines = DifferenceLines(d, compareText(CompareText::Program, sprache),
                                        compareText(CompareText::Device, sprache), sprache);
    // A message box holds a screenful; the compare window shows everything.
    constexpr int MaxLines = 30;
    if (lines.size() > MaxLines) {
        const int more = static_cast<int>(lines.size()) - MaxLines;
        lines = lines.mid(0, MaxLines);
        lines << QStringLiteral("... (+%1)").arg(more);
    }
    return compareText(CompareText::VerifyDiffers, sprache).arg(lines.join(QLatin1Char('\n')));
}

QString StepName(const Model &before, const Model &after)
{
    CompareOptions options;
    // The astro list's rows follow the year; any fixed year shows the same differences.
    options.list.year = 2000;
    const ProgramDifferences d = ComparePrograms(before, after, options);
    const int sprache = after.device.Sprache;
    QStringList parts;
    auto records = [&](const ListDifference &l, CompareText add, CompareText del, CompareText change) {
        int added = static_cast<int>(l.onlyB.size());
        int deleted = static_cast<int>(l.onlyA.size());
        int changed = static_cast<int>(l.changed.size());
        // A changed time that moved to another place in the order is still one changed entry.
        const int moved = std::min(added, deleted);
        if (changed > 0 || added == deleted) {
            changed += moved;
            added -= moved;
            deleted -= moved;
        }
        if (added > 0)
            parts << compareCountText(add, added, sprache);
        if (deleted > 0)
            parts << compareCountText(del, deleted, sprache);
        if (changed > 0)
            parts << compareCountText(change, changed, sprache);
    };
    records(d.lists[ListSwitching], CompareText::AddSwitching, CompareText::DeleteSwitching,
            CompareText::ChangeSwitching);
    records(d.lists[ListPriority], CompareText::AddPriority, CompareText::DeletePriority,
            CompareText::ChangePriority);
    bool changeover = !d.lists[ListChangeover].empty();
    bool astro = !d.lists[ListAstro].empty();
    bool texts = false, settings = false;
    for (const SettingDifference &s : d.settings) {
        switch (s.what) {
        case CompareText::SetFirstYear:
        case CompareText::SetEntriesPerYear:
            changeover = true;
            break;
        case CompareText::SetLongitude:
        case CompareText::SetLatitude:
        case CompareText::SetTimeZone:
        case CompareText::SetOffset1:
        case CompareText::SetOffset2:
        case CompareText::SetAstroMinute:
        case CompareText::SetAstroC1C2:
            astro = true;
            break;
        case CompareText::SetUsageText:
        case CompareText::SetChannelName:
        case CompareText::SetProgramNumber:
            texts = true;
            break;
        default:
            settings = true;
            break;
        }
    }
    if (changeover)
        parts << compareText(CompareText::StepChangeover, sprache);
    if (astro)
        parts << compareText(CompareText::StepAstro, sprache);
    if (settings)
        parts << compareText(CompareText::StepSettings, sprache);
    if (texts)
        parts << compareText(CompareText::StepTexts, sprache);
    if (parts.isEmpty() || parts.size() > 2)
        return compareText(CompareText::StepProgram, sprache);
    return parts.join(QStringLiteral(", "));
}

void PrepareDeviceType(Model &model, int type)
{
    model.device.Uhrentyp = type;
    model.device.RecordCapacity = type == TypeAstro ? CapacityAstro : CapacityAnnual;
    model.device.DeviceCode = type == TypeAstro ? DeviceCodeAstro : DeviceCodeAnnual;
}

LoadResult LoadForComparison(Model &model, Prompter &prompter, const QString &path, QString *reason)
{
    model.set(SetTemplate).clear();
    LoadResult result = LoadProgram(model, prompter, path, false, SetProgram, reason);
    if (result == LoadResult::OtherType236 || result == LoadResult::OtherType517) {
        PrepareDeviceType(model, static_cast<int>(result));
        result = LoadProgram(model, prompter, path, false, SetProgram, reason);
    }
    return result;
}

} // namespace zx
