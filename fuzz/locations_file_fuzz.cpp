// libFuzzer target: arbitrary bytes as a locations file. The reader either reports the file
// damaged with nothing read, or reads places that are written back to the same list: a file
// the program writes always reads back the same.
#include "calendar/AstroSettings.h"
#include "calendar/Locations.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const zx::LocationsReadResult first = zx::ParseLocations(content);
    if (first.status != zx::LocationsReadResult::Status::Read) {
        if (first.status != zx::LocationsReadResult::Status::Damaged || !first.locations.empty() ||
            first.error.isEmpty())
            std::abort();
        return 0;
    }
    for (const zx::Location &l : first.locations) {
        if (l.name.isEmpty() || zx::CleanLocationName(l.name) != l.name ||
            !zx::PositionsValid(l.longitudePos, l.latitudePos, l.zonePos))
            std::abort();
    }
    const zx::LocationsReadResult again = zx::ParseLocations(zx::FormatLocations(first.locations));
    if (again.status != zx::LocationsReadResult::Status::Read || again.locations != first.locations)
        std::abort();

    // Adding a place keeps every name once and the list readable.
    zx::LocationList list = first.locations;
    zx::AddLocation(list, {QStringLiteral("Bonn"), 346, 39, 44});
    if (zx::ParseLocations(zx::FormatLocations(list)).locations != list)
        std::abort();
    return 0;
}
