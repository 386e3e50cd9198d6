#pragma once

#include <cstdint>

struct RallyModule;

// The aircraft reached the object's inner box: unless its counter is used
// up, one take is counted, the normal or (by chance) the alternative value
// is added to the percentage or the points of the score table, the score
// file is written and the award announced. The race is left in every case.
void AwardBonusObject(RallyModule& m, const uint8_t* object);

// p = r x 100 / 32767 of a drawn r (0 to 32767); the alternative value is
// taken when p is below the object's probability.
int32_t DrawPercent(int32_t r);
