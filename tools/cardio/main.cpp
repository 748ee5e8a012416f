// cardio: a stand-in for the chip programming tool on the parallel port. Its "memory chip" is
// a 2048-byte file. Like the real tool it works in the current directory: it reads the
// transfer request "zentrix.msg", writes the image of the file named on its line 6 into the
// chip (direction "s") or the chip's image into "card.dat" (direction "l"), and leaves its
// result in "card.msg": a result code and a chip address.
//
// Its own settings, "cardio.ini" in the current directory (every key optional):
//   chip=chip.img      the chip image file
//   result=3           the result code to report; 1, 2 and 4..7 report that failure and
//                      transfer nothing, 3 and any other code transfer and report the code
//   address=0          the address reported with the code
//   delay_ms=0         time the tool takes before it reports
//   no_result=0        1: leave no card.msg, as a tool that broke off would
#include <array>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int ChipSize = 2048;
using Chip = std::array<std::uint8_t, ChipSize>;

std::string trim(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::map<std::string, std::string> readSettings(const char *path)
{
    std::map<std::string, std::string> settings;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == '#' || line[0] == ';' || line[0] == '[')
            continue;
        const auto eq = line.find('=');
        if (eq != std::string::npos)
            settings[trim(line.substr(0, eq))] = trim(line.substr(eq + 1));
    }
    return settings;
}

long setting(const std::map<std::string, std::string> &settings, const char *key, long fallback)
{
    const auto it = settings.find(key);
    if (it == settings.end())
        return fallback;
    try {
        return std::stol(it->second);
    } catch (...) {
        return fallback;
    }
}

std::vector<std::string> readLines(const char *path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The first 2048 numbers of a program file; the texts after them are not the chip's.
// Returns the count of values taken; stops at the first value that is no byte.
int readValues(const std::string &path, Chip &chip)
{
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int count = 0;
    std::size_t i = 0;
    while (count < ChipSize && i < text.size()) {
        const char c = text[i];
        if (c == ' ' || c == ',' || c == '\r' || c == '\n' || c == '\t') {
            ++i;
            continue;
        }
        if (!std::isdigit(static_cast<unsigned char>(c)))
            break;
        long value = 0;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && value <= 255)
            value = value * 10 + (text[i++] - '0');
        if (value > 255)
            break;
        chip[count++] = static_cast<std::uint8_t>(value);
    }
    return count;
}

bool loadChip(const std::string &path, Chip &chip)
{
    chip.fill(0xFF); // an erased chip
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    in.read(reinterpret_cast<char *>(chip.data()), ChipSize);
    return true;
}

bool writeFileAtomically(const std::string &path, const std::string &content)
{
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out << content;
        if (!out)
            return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

std::string cardDat(const Chip &chip)
{
    std::ostringstream out;
    auto line = [&](int from, int count) {
        for (int i = from; i < from + count; ++i)
            out << ' ' << int(chip[i]) << ' ';
        out << "\r\n";
    };
    line(0, 4);
    for (int a = 4; a < 104; a += 5)
        line(a, 5);
    for (int a = 104; a < ChipSize; a += 6)
        line(a, 6);
    return out.str();
}

bool isFailureCode(long code)
{
    return code == 1 || code == 2 || (code >= 4 && code <= 7);
}

} // namespace

int main()
{
    const auto settings = readSettings("cardio.ini");
    const std::string chipPath = settings.count("chip") ? settings.at("chip") : std::string("chip.img");
    long code = setting(settings, "result", 3);
    long address = setting(settings, "address", 0);
    const long delayMs = setting(settings, "delay_ms", 0);
    const bool leaveNoResult = setting(settings, "no_result", 0) != 0;

    const auto request = readLines("zentrix.msg");
    if (request.size() < 6) {
        std::fprintf(stderr, "cardio: zentrix.msg is missing or shorter than six lines\n");
        code = 7;
    }
    if (delayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));

    if (!isFailureCode(code)) {
        const std::string direction = trim(request[0]);
        Chip chip{};
        if (direction == "s") {
            loadChip(chipPath, chip);
            const int count = readValues(request[5], chip);
            if (count < ChipSize) {
                std::fprintf(stderr, "cardio: %s holds only %d values\n", request[5].c_str(), count);
                code = 6;
                address = count;
            } else if (!writeFileAtomically(chipPath, std::string(chip.begin(), chip.end()))) {
                std::fprintf(stderr, "cardio: cannot write the chip %s\n", chipPath.c_str());
                code = 6;
                address = 0;
            } else {
                std::printf("cardio: %s written into %s\n", request[5].c_str(), chipPath.c_str());
            }
        } else {
            loadChip(chipPath, chip);
            if (!writeFileAtomically("card.dat", cardDat(chip))) {
                std::fprintf(stderr, "cardio: cannot write card.dat\n");
                code = 7;
            } else {
                std::printf("cardio: %s read into card.dat\n", chipPath.c_str());
            }
        }
    }

    if (leaveNoResult)
        return 1;
    // The result file comes last and whole: whoever sees it sees a finished transfer.
    if (!writeFileAtomically("card.msg", std::to_string(code) + "," + std::to_string(address) + "\r\n")) {
        std::fprintf(stderr, "cardio: cannot write card.msg\n");
        return 1;
    }
    return isFailureCode(code) ? 1 : 0;
}
