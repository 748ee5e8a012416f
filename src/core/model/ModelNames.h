#pragma once

namespace zx {

class Model;

// Sets device.ModelName from the brand's model slots, the channel count, the device code
// (without the master-card bit) and Bewft: code 73 or a write-protectable device name the
// write-protectable model. A 4-channel bus device is the bus model; a 4-channel annual device
// with a program number or a meter pulse is the utility model. Combinations the brand does not
// offer give the empty name.
void DeriveModelName(Model &model);

// The slot (1..19) that DeriveModelName looks up, 0 when the combination has none.
int ModelNameSlot(const Model &model);

} // namespace zx
