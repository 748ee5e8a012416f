#pragma once

#include "model/ProgramRecord.h"

#include <random>

namespace zx {
class Model;
}

namespace zx::test {

// A valid switching or priority time of a conventional four-channel device, drawn from a small
// pool of values so that two random programs share many records.
ProgramRecord randomRecord(std::mt19937 &rng);

// An annual-device program of `count` random records in display order, with a random
// changeover table of up to three entries.
void fillRandomProgram(Model &model, std::mt19937 &rng, int count);

} // namespace zx::test
