#include "app/StartUp.h"

#include "entry/EntryStore.h"
#include "model/BrandTable.h"
#include "model/Model.h"
#include "platform/ToolLauncher.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "views/ListFormatter.h"

#include <gtest/gtest.h>

using namespace zx;

namespace {

class RecordingLauncher : public ToolLauncher {
  public:
    bool start(const QString &program, const QStringList &arguments, const QString &workingDirectory,
               QString *error) override
    {
        started << program;
        Q_UNUSED(arguments);
        dir = workingDirectory;
        if (fail && error)
            *error = QStringLiteral("No such program");
        return !fail;
    }
    QStringList started;
    QString dir;
    bool fail = false;
};

QString selectedName(const StartPreparation &p)
{
    return p.models.at(p.selectedIndex).name;
}

} // namespace

class StartUpTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    Model model;

    void writeIni(const Model &from) { ASSERT_TRUE(WriteConfigFile(from, dir.file("zentrix.ini"))); }
    Model withSlot(int brand, int slot)
    {
        Model m;
        m.BrandNumber = brand;
        ApplySlot(m, slot);
        return m;
    }
};

TEST_F(StartUpTest, ModelListSkipsSlotsNotOffered)
{
    const auto list = ModelList(1);
    ASSERT_EQ(list.size(), 14u);
    EXPECT_EQ(list.front().name, "ZX 101");
    EXPECT_EQ(list[2].name, "ZX 104");
    EXPECT_EQ(list.back().slot, Slot::S19);
    for (const auto &e : list)
        EXPECT_NE(e.name, SlotNotOffered());
    ASSERT_EQ(ModelList(2).size(), 2u);
    EXPECT_EQ(ModelList(2)[1].name, "ZX 502");
}

struct PreselectCase {
    int uhrentyp, bewft, busprog, evu, channels, slot;
};

class Preselection : public ::testing::TestWithParam<PreselectCase> {};

TEST_P(Preselection, SlotFromSettings)
{
    const PreselectCase &c = GetParam();
    Model m;
    m.device.Uhrentyp = c.uhrentyp;
    m.device.Bewft = c.bewft;
    m.device.Busprog = c.busprog;
    m.device.Evu = c.evu;
    m.device.Kanalzahl = c.channels;
    EXPECT_EQ(PreselectedSlot(m), c.slot);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Preselection,
    ::testing::Values(PreselectCase{236, 1, 1, 1, 4, 19}, PreselectCase{517, 0, 0, 0, 1, 1},
                      PreselectCase{517, 0, 0, 0, 4, 4}, PreselectCase{517, 0, 1, 0, 2, 5},
                      PreselectCase{517, 0, 0, 1, 3, 8}, PreselectCase{517, 1, 1, 1, 1, 14},
                      PreselectCase{517, 1, 0, 1, 4, 18}, PreselectCase{517, 1, 0, 0, 2, 11},
                      PreselectCase{517, 0, 0, 0, 8, 0}, PreselectCase{517, 2, 0, 0, 1, 0},
                      PreselectCase{300, 0, 0, 0, 1, 0},
                      // The channel count is known from 1 to 4, on either transmitter setting;
                      // bus programming written as -1 still means the bus model.
                      PreselectCase{517, 0, 0, 0, 0, 0}, PreselectCase{517, 0, 0, 0, 5, 0},
                      PreselectCase{517, 1, 0, 0, 0, 0}, PreselectCase{517, 1, 0, 0, 5, 0},
                      PreselectCase{517, 1, 0, 0, 1, 10}, PreselectCase{517, 0, 0, 1, 4, 9},
                      PreselectCase{517, 0, -1, 0, 0, 5}, PreselectCase{517, 1, -1, 0, 0, 14}));

TEST_F(StartUpTest, AstroTypePreselectsS19ForBrandOne)
{
    Model ini = withSlot(1, Slot::S19);
    writeIni(ini);
    model.BrandNumber = 1;
    const StartPreparation p = PrepareStartScreen(model, dir.path());
    EXPECT_EQ(p.configStatus, ConfigStatus::Read);
    EXPECT_EQ(selectedName(p), "ZX 401");
}

TEST_F(StartUpTest, BrandsWithoutS19PreselectTheirFirstModel)
{
    for (int brand = 2; brand <= BrandCount; ++brand) {
        writeIni(withSlot(1, Slot::S19));
        Model m;
        m.BrandNumber = brand;
        const StartPreparation p = PrepareStartScreen(m, dir.path());
        EXPECT_EQ(p.selectedIndex, 0) << "brand " << brand;
        EXPECT_EQ(selectedName(p), ModelList(brand).front().name);
    }
}

TEST_F(StartUpTest, BusModelSurvivesTheMinusOneQuirk)
{
    model.BrandNumber = 1;
    PrepareStartScreen(model, dir.path());
    ASSERT_TRUE(ConfirmStartScreen(model, "ZX 104 B", dir.path(), prompter));
    EXPECT_EQ(model.device.Busprog, -1);
    EXPECT_TRUE(dir.read("zentrix.ini").contains("BUSPROG=-1\r\n"));

    Model next;
    next.BrandNumber = 1;
    const StartPreparation p = PrepareStartScreen(next, dir.path());
    EXPECT_EQ(next.device.Busprog, 1);
    EXPECT_EQ(selectedName(p), "ZX 104 B");
}

TEST_F(StartUpTest, EveryOfferedModelIsPreselectedAgainAfterOk)
{
    for (int brand = 1; brand <= BrandCount; ++brand) {
        for (const ModelEntry &entry : ModelList(brand)) {
            Model first;
            first.BrandNumber = brand;
            PrepareStartScreen(first, dir.path());
            ASSERT_TRUE(ConfirmStartScreen(first, entry.name, dir.path(), prompter));
            Model again;
            again.BrandNumber = brand;
            EXPECT_EQ(selectedName(PrepareStartScreen(again, dir.path())), entry.name)
                << "brand " << brand << " slot " << entry.slot;
        }
    }
}

TEST_F(StartUpTest, MissingIniStartsWithTheBrandsFirstModel)
{
    model.BrandNumber = 3;
    model.device.Kanalzahl = 2;
    const StartPreparation p = PrepareStartScreen(model, dir.path());
    EXPECT_EQ(p.configStatus, ConfigStatus::Missing);
    EXPECT_EQ(p.models.size(), 2u);
    EXPECT_EQ(selectedName(p), "ZX 601 A");
    EXPECT_EQ(model.device.Kanalzahl, 4);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(StartUpTest, ShortIniIsIgnoredAsAWhole)
{
    dir.write("zentrix.ini", "KANALZAHL=3\r\nBEWFT=1\r\n");
    model.BrandNumber = 1;
    const StartPreparation p = PrepareStartScreen(model, dir.path());
    EXPECT_EQ(p.configStatus, ConfigStatus::Short);
    EXPECT_EQ(model.device.Kanalzahl, 1);
    EXPECT_EQ(model.device.Bewft, 0);
    EXPECT_EQ(selectedName(p), "ZX 101");
}

TEST_F(StartUpTest, OpeningSetsUpAFreshProgram)
{
    model.BrandNumber = 1;
    model.program().SzCount = 3;
    model.program().UsedCount = 3;
    model.program().DstCount = 2;
    model.program().HeaderBytes[4] = 9;
    model.program().ProgramNumber = 12;
    model.device.WriteProtect = 1;
    model.astro.TimeZone = 0;
    model.options.EuroDate = 0;
    model.options.NakOff = 0;
    model.Modified = 1;
    model.Marked = {0, 2};
    model.LastMarked = 1;
    model.ListView = ListChangeover;
    model.CurrentSet = SetTemplate;
    // a bus sample opened before New must not stay behind and refuse the next file
    model.set(SetTemplate).UsedCount = 2;
    model.set(SetTemplate).FileName = "sample.zxp";
    model.program().Records[0].b0 = 128;
    model.EditMode = EditCopy;
    PrepareStartScreen(model, dir.path());
    EXPECT_EQ(model.set(SetTemplate).UsedCount, 0);
    EXPECT_TRUE(model.set(SetTemplate).FileName.isEmpty());
    EXPECT_EQ(model.program().Records[0].b0, 0);
    EXPECT_EQ(model.EditMode, EditEnter);
    EXPECT_TRUE(model.Marked.empty());
    EXPECT_EQ(model.ListView, ListSwitching);
    EXPECT_EQ(model.CurrentSet, SetProgram);
    EXPECT_EQ(model.LastMarked, -1);
    EXPECT_EQ(model.program().UsedCount, 0);
    EXPECT_EQ(model.program().SzCount, 0);
    EXPECT_EQ(model.program().DstCount, 0);
    EXPECT_EQ(model.program().HeaderBytes[4], 0);
    EXPECT_FALSE(model.program().hasProgramNumber());
    EXPECT_EQ(model.device.WriteProtect, 0);
    EXPECT_EQ(model.astro.TimeZone, 60);
    EXPECT_EQ(model.options.EuroDate, 1);
    EXPECT_EQ(model.options.NakOff, 1);
    EXPECT_EQ(model.Modified, 0);
    EXPECT_EQ(model.transfer.LongDelayFactor, 50);
}

TEST_F(StartUpTest, OkAppliesModelFillsTextsAndWritesIni)
{
    model.BrandNumber = 1;
    model.device.Sprache = German;
    PrepareStartScreen(model, dir.path());
    model.device.Sprache = English;
    model.program().Records[0].b0 = 128;
    model.program().ChannelNames[2] = "pump";
    model.astro.AstroTable[10] = {5, 6};
    model.astro.AstroPresent = -1;
    dir.write("Swprg1.zxp", "x");

    ASSERT_TRUE(ConfirmStartScreen(model, "ZX 303", dir.path(), prompter));
    EXPECT_EQ(model.device.ModelName, "ZX 303");
    EXPECT_EQ(model.device.Kanalzahl, 3);
    EXPECT_EQ(model.device.DeviceCode, 73);
    EXPECT_EQ(model.device.Evu, 1);
    EXPECT_EQ(model.device.Bewft, 1);
    EXPECT_EQ(model.device.RecordCapacity, 324);
    EXPECT_EQ(model.catalogue(Msg::DefaultFilePrefix), "Swprg");
    EXPECT_EQ(model.program().FileName, dir.file("Swprg2.zxp"));
    EXPECT_EQ(model.program().UsageText, "unknown");
    EXPECT_TRUE(model.program().ChannelNames[2].isEmpty());
    EXPECT_EQ(model.astro.AstroPresent, 0);
    EXPECT_EQ(model.astro.AstroTable[10][0], 0);

    const ConfigReadResult r = ReadConfigValues(dir.file("zentrix.ini"));
    ASSERT_EQ(r.status, ConfigStatus::Read);
    EXPECT_EQ(r.values[0], 3);  // KANALZAHL
    EXPECT_EQ(r.values[9], 2);  // SPRACHE
    EXPECT_EQ(r.values[17], 1); // EVU
}

TEST_F(StartUpTest, OkWithAstroModelGivesAstroCapacity)
{
    model.BrandNumber = 1;
    PrepareStartScreen(model, dir.path());
    ASSERT_TRUE(ConfirmStartScreen(model, "ZX 401", dir.path(), prompter));
    EXPECT_EQ(model.device.Uhrentyp, 236);
    EXPECT_EQ(model.device.RecordCapacity, 120);
    EXPECT_EQ(model.device.DeviceCode, 80);
}

TEST_F(StartUpTest, NameOfNoSlotKeepsPropertiesAsRead)
{
    model.BrandNumber = 2;
    model.device.Kanalzahl = 2;
    EXPECT_EQ(ApplySlotByName(model, "ZX 101"), 0);         // brand 1's name, not brand 2's
    EXPECT_EQ(ApplySlotByName(model, SlotNotOffered()), 0); // the name of the slots not offered
    EXPECT_EQ(model.device.Kanalzahl, 2);
    EXPECT_EQ(ApplySlotByName(model, "ZX 502"), Slot::S14);
    EXPECT_EQ(model.device.Kanalzahl, 4);
}

TEST_F(StartUpTest, OkWithLoadedLanguageReadsSpeechFile)
{
    Catalogue custom;
    custom.setText(Msg::Unknown, "unbekannt-x");
    custom.setText(Msg::DefaultFilePrefix, "Prog");
    ASSERT_TRUE(custom.writeLanguageFile(dir.file("speech.txt")));
    model.BrandNumber = 1;
    PrepareStartScreen(model, dir.path());
    model.device.Sprache = Loaded;
    ASSERT_TRUE(ConfirmStartScreen(model, "ZX 101", dir.path(), prompter));
    EXPECT_EQ(model.program().UsageText, "unbekannt-x");
    EXPECT_EQ(model.program().FileName, dir.file("Prog1.zxp"));
    EXPECT_EQ(model.catalogue.helpFile, "Zentri2e.hlp");
}

TEST_F(StartUpTest, OkWithLoadedLanguageButNoSpeechFileStays)
{
    model.BrandNumber = 1;
    PrepareStartScreen(model, dir.path());
    model.device.Sprache = Loaded;
    model.device.Kanalzahl = 1;
    EXPECT_FALSE(ConfirmStartScreen(model, "ZX 104", dir.path(), prompter));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].icon, Icon::Critical);
    EXPECT_EQ(model.device.Kanalzahl, 1);
    EXPECT_FALSE(dir.exists("zentrix.ini"));
    // the next OK does not run into the same error: the screen is back on a working language
    EXPECT_TRUE(prompter.shown[0].message.contains("Choose another language"))
        << prompter.shown[0].message.toStdString();
    EXPECT_EQ(model.device.Sprache, English);
    EXPECT_TRUE(ConfirmStartScreen(model, "ZX 104", dir.path(), prompter));
}

TEST_F(StartUpTest, BusModelStartsWithTheBusLayout)
{
    model.BrandNumber = 1;
    PrepareStartScreen(model, dir.path());
    const Brand &brand = BrandTable(1);
    ASSERT_TRUE(brand.offers(Slot::S5));
    ASSERT_TRUE(ConfirmStartScreen(model, brand.slotName(Slot::S5), dir.path(), prompter));
    EXPECT_EQ(model.device.BusDevice, 1);
    ASSERT_TRUE(ConfirmStartScreen(model, brand.slotName(Slot::S1), dir.path(), prompter));
    EXPECT_EQ(model.device.BusDevice, 0);
}

TEST_F(StartUpTest, UnwritableIniIsReportedButStartGoesOn)
{
    QDir(dir.path()).mkdir("zentrix.ini");
    model.BrandNumber = 1;
    const StartPreparation p = PrepareStartScreen(model, dir.path());
    EXPECT_EQ(p.configStatus, ConfigStatus::Error);
    EXPECT_TRUE(ConfirmStartScreen(model, "ZX 101", dir.path(), prompter));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].icon, Icon::Critical);
}

TEST_F(StartUpTest, SiblingToolOnlyForBrandOneInGermanWhenPresent)
{
    EXPECT_FALSE(SiblingToolOffered(1, German, dir.path()));
    dir.write("ZX4TOOL.exe", "MZ");
    EXPECT_TRUE(SiblingToolOffered(1, German, dir.path()));
    EXPECT_FALSE(SiblingToolOffered(1, English, dir.path()));
    EXPECT_FALSE(SiblingToolOffered(1, French, dir.path()));
    EXPECT_FALSE(SiblingToolOffered(1, Loaded, dir.path()));
    EXPECT_FALSE(SiblingToolOffered(2, German, dir.path()));
}

TEST_F(StartUpTest, SiblingToolStartAndFailure)
{
    RecordingLauncher launcher;
    EXPECT_TRUE(StartSiblingTool(launcher, prompter, dir.path()));
    ASSERT_EQ(launcher.started.size(), 1);
    EXPECT_TRUE(launcher.started[0].endsWith("/ZX4TOOL.exe"));
    EXPECT_EQ(launcher.dir, dir.path());
    EXPECT_TRUE(prompter.shown.empty());

    launcher.fail = true;
    EXPECT_FALSE(StartSiblingTool(launcher, prompter, dir.path()));
    EXPECT_EQ(prompter.last(), "Error No such program");
    EXPECT_EQ(prompter.shown.back().icon, Icon::Critical);
}

class LoadedLanguageTest : public StartUpTest {
  protected:
    void SetUp() override
    {
        model.device.Sprache = German;
        Catalogue c;
        c.setText(Msg::Monday, "lunedi");
        ASSERT_TRUE(c.writeLanguageFile(dir.file("italiano.ln1")));
    }
    // Choosing a language makes the start directory current; later tests must not run in a
    // scratch folder that is gone.
    void TearDown() override { QDir::setCurrent(cwd); }
    QString cwd = QDir::currentPath();
};

TEST_F(LoadedLanguageTest, ReadsFileWritesSpeechAndSetsCodeFour)
{
    prompter.files.push_back(dir.file("italiano.ln1"));
    EXPECT_EQ(ChooseLoadedLanguage(model, prompter, dir.path()), LoadedLanguageResult::Loaded);
    EXPECT_EQ(model.device.Sprache, Loaded);
    EXPECT_EQ(model.catalogue(Msg::Monday), "lunedi");
    EXPECT_EQ(QDir::current().absolutePath(), QDir(dir.path()).absolutePath());
    Catalogue speech;
    ASSERT_TRUE(speech.readLanguageFile(dir.file("speech.txt")));
    EXPECT_EQ(speech(Msg::Monday), "lunedi");
}

TEST_F(LoadedLanguageTest, CancelChangesNothing)
{
    prompter.files.push_back(std::nullopt);
    EXPECT_EQ(ChooseLoadedLanguage(model, prompter, dir.path()), LoadedLanguageResult::Cancelled);
    EXPECT_EQ(model.device.Sprache, German);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_FALSE(dir.exists("speech.txt"));
}

TEST_F(LoadedLanguageTest, ShortFileIsReportedAndLanguageStays)
{
    dir.write("broken.ln1", "one\r\ntwo\r\n");
    prompter.files.push_back(dir.file("broken.ln1"));
    EXPECT_EQ(ChooseLoadedLanguage(model, prompter, dir.path()), LoadedLanguageResult::Failed);
    EXPECT_EQ(model.device.Sprache, German);
    EXPECT_EQ(model.catalogue(Msg::Monday), "monday");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].icon, Icon::Critical);
    EXPECT_FALSE(dir.exists("speech.txt"));
}

TEST_F(LoadedLanguageTest, AlreadyLoadedDoesNothing)
{
    model.device.Sprache = Loaded;
    prompter.files.push_back(dir.file("italiano.ln1"));
    EXPECT_EQ(ChooseLoadedLanguage(model, prompter, dir.path()), LoadedLanguageResult::AlreadyChosen);
    EXPECT_EQ(prompter.files.size(), 1u);
}
