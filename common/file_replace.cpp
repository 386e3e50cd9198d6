#include "common/file_replace.h"

ReplaceOutcome ReplaceByMoves(const FileMoves& m, const char* replacement, const char* target) {
  if (!m.exists(m.context, replacement)) return ReplaceOutcome::kUnchanged;
  if (!m.exists(m.context, target)) {
    return m.move(m.context, replacement, target) ? ReplaceOutcome::kReplaced
                                                  : ReplaceOutcome::kUnchanged;
  }
  if (m.unreplaceable(m.context, target)) return ReplaceOutcome::kUnchanged;
  char kept[kSpareNameBytes];
  if (!m.spare_name(m.context, target, kept, sizeof kept)) return ReplaceOutcome::kUnchanged;
  if (!m.move(m.context, target, kept)) return ReplaceOutcome::kUnchanged;
  if (!m.move(m.context, replacement, target)) {
    return m.move(m.context, kept, target) ? ReplaceOutcome::kUnchanged
                                           : ReplaceOutcome::kTargetMissing;
  }
  // The new file is in place; a copy of the old one left behind loses nothing.
  m.remove(m.context, kept);
  return ReplaceOutcome::kReplaced;
}
