#include "rally/race/start_positions.h"

namespace {

// Every altitude is its whole metres plus 0xEB460000 / 2^32 (about 0.92 m).
constexpr StartPosition kStartPositionTable[kStartPositionCount] = {
    {0x002CB9F3, 0x79457C16, 44, 0xEB460000, 0xC0000000},   // "&1. Ralliest Base"
    {0x002CECB1, 0x79457E46, 44, 0xEB460000, 0xD6800000},   // "&2. Kestrin's Municipal"
    {0x002D159F, 0x79618076, 6, 0xEB460000, 0x00000000},    // "&3. AFB"
    {0x002CE2F6, 0x79738643, 12, 0xEB460000, 0x00000000},   // "&4. Sidelake Field"
    {0x002CCE01, 0x795E8FC7, 22, 0xEB460000, 0x16800000},   // "&5. Trackers Best Field"
    {0x002CB20A, 0x79717FD4, 44, 0xEB460000, 0xC0000000},   // "&6. Daventi's Field"
    {0x002C8C51, 0x7962C56B, 450, 0xEB460000, 0x80000000},  // "&7. Mountain View Airport"
    {0x002C79CB, 0x79412977, 22, 0xEB460000, 0x97A50000},   // "&8. Seashore Island"
};

}  // namespace

const StartPosition* StartPositionForSlot(uint32_t slot) {
  if (slot < kFirstStartPositionSlot || slot - kFirstStartPositionSlot >= kStartPositionCount) {
    return nullptr;
  }
  return &kStartPositionTable[slot - kFirstStartPositionSlot];
}
