#pragma once

#include "i18n/Catalogue.h"
#include "model/ChangeoverRules.h"
#include "model/DeviceCodes.h"
#include "model/HolidayLibrary.h"
#include "model/ListKinds.h"
#include "model/ProgramRecord.h"
#include "platform/FileStamp.h"

#include <QString>

#include <array>
#include <vector>

namespace zx {

constexpr int MaxRecords = 324;   // record slots of a set, whatever the device
constexpr int DstEntries = 20;    // entries of a changeover table
constexpr int AstroDays = 366;    // days of the astro table
constexpr int NoAstroTime = 1791; // both astro values of a day without astro times
constexpr qint32 NoProgramNumber = 16777215;

constexpr int TypeAnnual = 517; // annual time switch, 324 records
constexpr int TypeAstro = 236;  // astro device, 120 records
constexpr int CapacityAnnual = 324;
constexpr int CapacityAstro = 120;

enum SetIndex : int { SetProgram = 0, SetTemplate = 1 };

using DstEntry = std::array<int, 4>;
constexpr DstEntry EmptyDstEntry{255, 255, 255, 255};

// Everything the model keeps once per program set.
struct ProgramSet {
    std::array<ProgramRecord, MaxRecords> Records{};
    int SzCount = 0;
    int PzCount = 0;
    int UsedCount = 0;

    std::array<DstEntry, DstEntries> DstTable;
    int DstCount = 0;
    int DstFirstYear = 0;

    std::array<int, 8> HeaderBytes{};
    qint32 ProgramNumber = NoProgramNumber;
    QString UsageText;
    std::array<QString, 9> ChannelNames;
    QString FileName;
    // The file as it was when this set was loaded from it or saved to it: Save refuses to
    // replace a file that changed on disk since (another program saved it meanwhile).
    QString StampedFile;
    FileStamp DiskStamp;

    ProgramSet() { DstTable.fill(EmptyDstEntry); }

    bool hasProgramNumber() const { return ProgramNumber != NoProgramNumber; }
    // Empties records, counters, changeover table, header, texts and file name.
    void clear();
};

// Device-level settings, once for the device being programmed.
struct DeviceProperties {
    int DeviceCode = DeviceCodeAnnual; // bit 7: master card
    int Sprache = 2;                   // 1 German, 2 English, 3 French, 4 loaded language
    int Kanalzahl = 1;                 // channels 1..8
    int Uhrentyp = TypeAnnual;
    QString ModelName;
    int Busprog = 0;           // 0 or -1
    int BusDevice = 0;         // 0 conventional, 1 bus device
    int MasterCardOptions = 0; // eight option bits of a master card
    int WriteProtect = 0;
    int Bewft = 0;
    int SwRegel = RuleNoChangeover; // ChangeoverRule
    int MessKanal = 0;              // meter pulse channel, 0 none
    int MessPeriode = 1;
    int MessImpDauer = 1;
    int MessZustand = 0;
    int MessZeitpunkt = 0;
    int Evu = 0;
    int RecordCapacity = CapacityAnnual;

    // The meter pulse fields as they are when no meter pulse is defined.
    void clearMeterPulse();
};

// The one-bit options kept in header byte 3.
struct DeviceOptions {
    int EuroDate = 1;
    int GermanDisplay = 1;
    int RadioSync = 0;
    int NakOff = 1;
    int KeyPermanent = 0;
    int OptionBit0 = 1;
};

// Astro device (type 236) only.
struct AstroData {
    std::array<std::array<int, 2>, AstroDays> AstroTable{};
    int AstroPresent = 0; // -1 when AstroTable holds computed times
    float Longitude = 0;
    float Latitude = 0;
    float TimeZone = 60;
    float AstroOffset1 = 0;
    float AstroOffset2 = 0;
    int AstroMinute = 0;
    int AstroC1C2 = 0;

    void clearTable();
};

// Settings of the configuration file that are not device properties.
struct TransferSettings {
    int PortSetting = 1; // 1..3 LPT through the chip tool, 4.. COM(n - 3)
    int Delay = 0;       // delay factor, kept multiplied by 4
    int MaxDelay = 0;
    int PrintHeaderInterval = 0; // print header interval (ZEILEN)
    int LongDelayFactor = 50;    // 50 from start-up, 20 once the device properties were confirmed
};

// Increments of the entry automation.
struct AutomationSettings {
    int IncMinutes = 0;
    int IncHours = 0;
    int IncDays = 0;
    int IncWeekdays = 0;
    int IncMonth = 0;
    int IncPriority = 0;
    int IncState = 0;
    int AutomationActive = 0;
    // Changeover table: the ordinal (0 first .. 4 last) and weekday (0 Monday .. 6 Sunday) of the
    // advance and of the set-back that fill the day lists for each year.
    int DstFromRule = 0;
    int DstFromWeekday = 0;
    int DstToRule = 0;
    int DstToWeekday = 0;
    int DstAutomationActive = 0;
};

// The conditions of the list filter, one set for the whole run. A filter that was never
// confirmed lets every record pass, as the dialog's own presets do.
struct ListFilter {
    int FilterChannels = 255; // channel 1 = 1 .. channel 8 = 128
    int FilterWeekdays = 127; // Monday = 1 .. Sunday = 64
    int FilterFromMonth = 1;  // 0 only weekly program, 1..12
    int FilterToMonth = 12;
    int FilterFromProgram = 0; // 0 none, priorities, permanent (10; 8 on a bus device)
    int FilterToProgram = 10;
    int FilterPulses = 2; // 0 no pulses, 1 only pulses, 2 all
    int FilterState = 2;  // conventional: 0 OFF, 1 ON, 2 ON or OFF; bus: 0 equal, 1 up to, 2 from
    int FilterValue = 0;  // bus device: the value compared with

    friend bool operator==(const ListFilter &, const ListFilter &) = default;
};

// The switching program model: one object for the whole run, handed by reference to every
// window and operation that needs it.
class Model {
  public:
    Model();

    std::array<ProgramSet, 2> sets;
    ProgramSet &set(int index) { return sets[index == SetTemplate ? 1 : 0]; }
    const ProgramSet &set(int index) const { return sets[index == SetTemplate ? 1 : 0]; }
    ProgramSet &program() { return sets[0]; }
    const ProgramSet &program() const { return sets[0]; }

    DeviceProperties device;
    DeviceOptions options;
    AstroData astro;
    TransferSettings transfer;
    AutomationSettings automation;

    // Texts of the user interface in the chosen language.
    Catalogue catalogue;
    // Holidays and holiday sets of the language's holiday file (not part of the program file).
    HolidayLibrary holidays;
    int BrandNumber = 1;

    // Editor state.
    int Modified = 0;
    int CurrentSet = SetProgram;
    int EditMode = 0;        // 0 new entry, 1 change marked entries, 2 copy from the template
    std::vector<int> Marked; // record indexes in marking order
    int FirstMarked = 0;
    int LastMarked = -1;
    int ExportEmptyConfirmed = 0;
    int ListView = ListSwitching; // ListKind
    int FileNamed = 0;
    int FilterOn = 0;
    ListFilter filter;
    int SortColumnSz = 0;
    int SortColumnPz = 0;

    int RecordKind(const ProgramRecord &r) const { return zx::RecordKind(r, device.BusDevice); }
    int IsAstroTime(const ProgramRecord &r) const { return zx::IsAstroTime(r, device.BusDevice); }
    // True when a record of set 0 in use is a priority time of date form 2 or 3.
    bool HasSpecialPriority() const;

    // Counters after a change: SzCount/PzCount from the records in use, UsedCount their sum.
    void recount(int setIndex);
    // Appends a record to a set; false when the set is at RecordCapacity (set 0) or full.
    bool appendRecord(int setIndex, const ProgramRecord &r);
    // Removes the records with the given indexes from a set (order of indexes irrelevant).
    void removeRecords(int setIndex, std::vector<int> indexes);

    // The state the start screen leaves for a fresh program (counters, header, astro location).
    void resetForStart();
};

// Fixes the device type (TypeAnnual or TypeAstro) with what comes with it: the record capacity
// and the plain device code. Any other type is taken as the annual device.
void SetUpDeviceType(Model &model, int type);

} // namespace zx
