#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace zx {

// The application of a bus time switch: byte values for the BCU memory from 0x0104 (the value
// for address a at index a - 0x0104). The files hold one decimal integer per line in address
// order: "remote.s19", the programming application shipped with the system, and "appl.old",
// the device's own application saved before a transfer.
struct ApplicationImage {
    static constexpr int First = 0x0104;
    static constexpr int Last = 0x01FE;
    static constexpr int SavedCount = Last - First + 1;     // 251 values
    static constexpr int MinimumCount = 0x01F4 - First + 1; // 241 values: up to 0x01F4
    static constexpr const char *ProgrammingFile = "remote.s19";
    static constexpr const char *SavedFile = "appl.old";
    static constexpr const char *OwnerFile = "appl.old.device";

    std::array<std::uint8_t, 252> values{};

    std::uint8_t at(int address) const { return values[address - First]; }
    void set(int address, std::uint8_t value) { values[address - First] = value; }
};

// Reads an image file: every value up to 0x01FE that it holds (at least up to 0x01F4); entries
// the file does not reach stay 0. nullopt with a reason when the file is missing, unreadable,
// too short or holds anything but numbers 0..255.
std::optional<ApplicationImage> LoadApplicationImage(const QString &path, QString *error);

// Replaces `path` with the 251 values for 0x0104..0x01FE, one per line; the old file stays
// when the new one cannot be written completely.
bool SaveApplicationImage(const QString &path, const ApplicationImage &image, QString *error);

// Whose application "appl.old" holds, kept beside it in "appl.old.device" as one line: the
// device's physical address and whether that device still holds the programming application
// ("1.1.5 programming") or its own again ("1.1.5 own"). One saved application serves one device
// at a time: while its device holds the programming application it is that device's only copy.
struct SavedApplicationOwner {
    int address = 0;
    bool holdsProgramming = false;
};

// nullopt when no owner is recorded (a working directory from before owners were kept) or the
// file is no owner line.
std::optional<SavedApplicationOwner> ReadSavedApplicationOwner(const QString &dir);
bool WriteSavedApplicationOwner(const QString &dir, const SavedApplicationOwner &owner, QString *error);

} // namespace zx
