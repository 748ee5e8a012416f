// The commands of zentrix-cli and their options: the usage, --help, the man page and the bash
// completion are all made from this one table. Add a command here and its function in
// Commands.h.
#include "Commands.h"

namespace zx::cli {

namespace {

const OptionSpec TypeOption{"--type", "517|236", "device type of the file (default: as the file says)"};
const OptionSpec WorkDirOption{"--workdir", "DIR",
                               "working directory (default: ZENTRIX_WORKDIR, else the desktop program's)"};
const OptionSpec ForceOption{"--force", nullptr, "replace an existing output file"};
const OptionSpec JsonOption{"--json", nullptr, "print the result as JSON"};
const OptionSpec PortOption{"--port", "DEVICE", "serial port of the interface, e.g. /dev/ttyUSB0"};

// add and change take the same entry options; change names the row it writes over.
std::vector<OptionSpec> AddOptions(bool change)
{
    std::vector<OptionSpec> options = {
        {"--time", "HH:MM", "time of day of a switching time"},
        {"--days", "mo,tu,we,th,fr,sa,su|daily", "weekdays of a weekly switching time"},
        {"--date", "D.M", "day and month of a dated switching time"},
        {"--once", nullptr, "only once, not every year"},
        {"--channels", "1,2", "channels of a conventional device"},
        {"--channel", "N", "channel of a bus device"},
        {"--state", "on|off", "switching state"},
        {"--value", "V", "value of a bus device, 0..255"},
        {"--pulse", "S", "pulse length in seconds, 1..59"},
        {"--program", "P", "program number of a weekly switching time"},
        {"--from", "D.M", "first day of a priority time"},
        {"--to", "D.M", "last day of a priority time"},
        {"--year", "YYYY", "the one year of a priority time"},
        {"--easter", "OFFSET", "days from Easter Sunday"},
        {"--priority", "1..9|permanent", "priority program, or permanently on or off"},
        {"--name", "NAME", "one holiday of the holiday file"},
        {"--set", "NAME|all", "a holiday set of the holiday file, or all holidays"},
        {"--years", "N", "years to enter for holidays without a fixed date"},
        {"--today", "YYYY-MM-DD", "the day the holiday years count from"},
        WorkDirOption,
        {"--replace", nullptr, "answer Yes when an entry would replace another"}};
    if (change)
        options.push_back({"--row", "N", "the row of the entry as list prints it, first row 1"});
    return options;
}

} // namespace

const std::vector<Command> &Commands()
{
    static const std::vector<Command> table = {
        {"list",
         "FILE.zxp [--view switching|priority|changeover|astro] [--set 0|1] [--type 517|236] "
         "[--format text|tsv|json] [--json]",
         "print one list of a program file as the main window shows it, one row a line, cells separated by "
         "tabs",
         {{"--view", "switching|priority|changeover|astro", "the list to print (default switching)"},
          {"--set", "0|1", "the program (0) or, for a template, set 1"},
          TypeOption,
          {"--format", "text|tsv|json", "text: cells as shown; tsv: cells without padding or units"},
          JsonOption},
         runList},
        {"dump",
         "FILE.zxp|- [--type 517|236] [--json]",
         "print everything a program file holds, as text or as the JSON document build takes",
         {TypeOption, JsonOption},
         runDump},
        {"build",
         "PROGRAM.json|- OUT.zxp|- [--force] [--keep-duplicates]",
         "write a program file from the JSON document dump --json prints (SOURCE_DATE_EPOCH fixes its time "
         "stamp); records that add would refuse as repeating or contradicting an earlier one are refused",
         {ForceOption,
          {"--keep-duplicates", nullptr,
           "write such records all the same, as a program file in use may hold them (check warns of them)"}},
         runBuild},
        {"check",
         "FILE... [--json]",
         "tell for each program file whether it is valid, and why not",
         {JsonOption},
         runCheck},
        {"new",
         "FILE.zxp --type 517|236 [--channels N] [--bus] [--force]",
         "create an empty program file",
         {{"--type", "517|236", "device type"},
          {"--channels", "N", "number of channels, 1..8 (default 1)"},
          {"--bus", nullptr, "a bus device"},
          ForceOption},
         runNew},
        {"add",
         "FILE.zxp switching --time HH:MM (--days mo,tu,we,th,fr,sa,su|daily | --date D.M [--once]) "
         "(--channels 1,2 [--state on|off] | --channel N --value V) [--pulse S] [--program P] [--replace]\n"
         "FILE.zxp priority (--from D.M --to D.M [--year YYYY] [--once] | --easter OFFSET) "
         "--priority 1..9|permanent [--state on|off | --value V] (--channels 1,2 | --channel N) [--replace]\n"
         "FILE.zxp holiday (--name NAME | --set NAME|all) --priority 1..9|permanent [--state on|off | "
         "--value V] "
         "(--channels 1,2 | --channel N) [--year YYYY] [--once] [--years N] [--today YYYY-MM-DD] "
         "[--workdir DIR] [--replace]",
         "enter a switching time, a priority time or holidays by the entry dialogs' rules and save",
         AddOptions(false), runAdd},
        {"change",
         "FILE.zxp switching|priority --row N [OPTIONS...] (the fields to change, as add takes them)",
         "change the fields given of the switching or priority time of a list row, by the rules of the "
         "dialogs' Change; the fields not given stay as the entry holds them",
         AddOptions(true), runChange},
        {"remove",
         "FILE.zxp --view switching|priority|changeover --row N[,N...]\n"
         "FILE.zxp [--view switching|priority] FIELD OPTIONS... [--all]",
         "delete entries by their rows in a list, or by the fields the list shows, as the main window's "
         "Delete does, and print the rows deleted; a field left out matches any entry, and when several "
         "entries match, nothing is deleted without --all",
         {{"--view", "switching|priority|changeover",
           "the list the rows are counted in or the entries are in"},
          {"--row", "N[,N...]", "rows as list --view prints them, first row 1"},
          {"--time", "HH:MM", "time of day of a switching time"},
          {"--days", "mo,tu,we,th,fr,sa,su|daily", "the weekdays of a weekly switching time, all of them"},
          {"--date", "D.M", "day and month of a dated switching time"},
          {"--program", "P", "program number of a weekly switching time"},
          {"--pulse", "S", "pulse length in seconds"},
          {"--from", "D.M", "first day of a priority time"},
          {"--to", "D.M", "last day of a priority time"},
          {"--easter", "OFFSET", "days from Easter Sunday of a priority time"},
          {"--priority", "1..9|permanent", "priority program, or permanently on or off"},
          {"--year", "YYYY", "the one year of a priority time"},
          {"--channels", "1,2", "channels of a conventional device, all of them"},
          {"--channel", "N", "channel of a bus device"},
          {"--state", "on|off", "switching state"},
          {"--value", "V", "value of a bus device"},
          {"--once", nullptr, "entries for one year only"},
          {"--all", nullptr, "delete every entry that matches, not only a single one"}},
         runRemove},
        {"astro",
         "(--latitude DEG --longitude DEG --timezone MIN | --place NAME [--workdir DIR]) [--year Y] "
         "[--store FILE.zxp [--sunrise-offset MIN] [--sunset-offset MIN] [--replace]]",
         "print the sunset and sunrise table of a place, or store it in a program file",
         {{"--latitude", "DEG", "north positive, in steps of 0.5"},
          {"--longitude", "DEG", "east positive, in steps of 0.5"},
          {"--timezone", "MIN", "minutes east of Greenwich, in steps of 15"},
          {"--place", "NAME", "a place of the location file"},
          WorkDirOption,
          {"--year", "Y", "the year of the table"},
          {"--store", "FILE.zxp", "store the table in this program file of the astro device"},
          {"--sunrise-offset", "MIN", "minutes added to sunrise, -120..120"},
          {"--sunset-offset", "MIN", "minutes added to sunset, -120..120"},
          {"--replace", nullptr, "recompute a stored table that holds times changed by hand"}},
         runAstro},
        {"astro-change",
         "FILE.zxp --column sunset|sunrise --days N[-M] (--delete | --set HH:MM | --shift [-]HH:MM)",
         "delete, set or shift astro times of a program file over a range of days",
         {{"--column", "sunset|sunrise", "the column to change"},
          {"--days", "N[-M]", "days of the table, 1..366"},
          {"--delete", nullptr, "delete the times"},
          {"--set", "HH:MM", "set the times"},
          {"--shift", "[-]HH:MM", "shift the times later, or earlier with a minus"}},
         runAstroChange},
        {"export",
         "FILE.zxp --out OUT.txt|OUT.pdf|OUT.csv|- [--format text|csv] [--lists "
         "switching,priority,changeover,astro] [--type 517|236] "
         "[--lines N] [--filter FILTER.json] [--append] [--force]",
         "write lists of a program file as the desktop prints them, to a PDF, a text file or a CSV table of "
         "values",
         {{"--out", "OUT.txt|OUT.pdf|OUT.csv|-", "the output file; - for standard output"},
          {"--format", "text|csv",
           "the text file or the CSV table, whatever the output's name (default: by "
           "its name, text for -)"},
          {"--lists", "switching,priority,changeover,astro", "the lists to print (default all)"},
          TypeOption,
          {"--lines", "N", "repeat the page header every N lines, 1..999"},
          {"--filter", "FILTER.json", "print the lists filtered as the main window's filter does"},
          {"--append", nullptr, "append to a text file"},
          ForceOption},
         runExport},
        {"simulate",
         "FILE.zxp (--year Y [--ics OUT.ics|- [--channel C] [--force]] | --channel C --date YYYY-MM-DD) "
         "[--type 517|236] [--json]",
         "print the day plan of a year or the switching segments of one channel on one day, or write the "
         "year's ON periods as an iCalendar file",
         {{"--year", "Y", "the year of the day plan"},
          {"--channel", "C", "the channel of the day, or the one channel of the calendar"},
          {"--date", "YYYY-MM-DD", "the day"},
          {"--ics", "OUT.ics|-", "write the year's ON periods as an iCalendar file; - for standard output"},
          ForceOption,
          TypeOption,
          JsonOption},
         runSimulate},
        {"easter",
         "YEAR... [--json]",
         "print the date of Easter Sunday of each year",
         {JsonOption},
         runEaster},
        {"summertime",
         "--rule 0..4 --year Y [--table FILE.zxp] [--days] [--json]",
         "print the changeover dates of a rule in a year, or every day's summer-time flag",
         {{"--rule", "0..4", "changeover rule; 4 takes the table of a program file"},
          {"--year", "Y", "the year"},
          {"--table", "FILE.zxp", "the program file whose changeover table rule 4 uses"},
          {"--days", nullptr, "print every day with its summer-time flag"},
          JsonOption},
         runSummertime},
        {"holidays",
         "--year Y [--set NAME] [--workdir DIR] [--json]",
         "list the dates of the holiday library (or of one set) in a year",
         {{"--year", "Y", "the year"}, {"--set", "NAME", "one holiday set"}, WorkDirOption, JsonOption},
         runHolidays},
        {"write",
         "FILE.zxp --port DEVICE [--type 517|236] [--workdir DIR]",
         "send a program file to the device over the serial programming interface",
         {PortOption, TypeOption, WorkDirOption},
         runWrite},
        {"read",
         "OUT.zxp --port DEVICE [--type 517|236] [--workdir DIR] [--force]",
         "read the device over the serial programming interface into a program file",
         {PortOption, TypeOption, WorkDirOption, ForceOption},
         runRead},
        {"diff",
         "A.zxp B.zxp [--json]",
         "show what differs between two program files as list rows; exit 0 same, 1 different, 2 trouble",
         {JsonOption},
         runDiff},
        {"bus",
         "search (--port DEVICE | --ip HOST[:PORT]) --area A --line L --from N --to M [--workdir DIR]\n"
         "program FILE.zxp|- (--port DEVICE | --ip HOST[:PORT]) --address A.L.D [--workdir DIR]\n"
         "read OUT.zxp|- (--port DEVICE | --ip HOST[:PORT]) --address A.L.D [--workdir DIR] [--force]\n"
         "reinstall (--port DEVICE | --ip HOST[:PORT]) --address A.L.D [--workdir DIR]",
         "search the bus for time switches, program, read or reinstall one through a bus coupling unit or an "
         "IP interface",
         {PortOption,
          {"--ip", "HOST[:PORT]", "an IP interface (KNXnet/IP tunnelling), port 3671 unless given"},
          {"--address", "A.L.D", "physical address of the time switch"},
          {"--area", "A", "area to search, 0..15"},
          {"--line", "L", "line to search, 0..15"},
          {"--from", "N", "first device number to search, 0..255"},
          {"--to", "M", "last device number to search, 0..255"},
          WorkDirOption,
          ForceOption},
         runBus},
        {"config",
         "[--workdir DIR]",
         "print the values of zentrix.ini as the program reads them, or the defaults",
         {WorkDirOption},
         runConfig},
        {"catalogue",
         "[--lang en|de|fr|FILE.ln1] [--brand N]",
         "print the message catalogue, one position a line",
         {{"--brand", "N", "brand number, 1..6"}},
         runCatalogue},
        {"help",
         "[COMMAND] [--man | --completion]",
         "describe the commands; print the man page or the bash completion made from this table",
         {{"--man", nullptr, "print the manual page"},
          {"--completion", nullptr, "print the bash completion"}},
         runHelp},
        {"--version", "", "print the program's version", {}, runVersion},
    };
    return table;
}

} // namespace zx::cli
