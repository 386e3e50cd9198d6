#include "sceneward/scenery/scenery_filter.h"

#include "common/little_endian.h"
#include "sceneward/scenery/object_index.h"
#include "sceneward/scenery/scenery_file.h"

using namespace scenery;

namespace {

bool BoxOverlaps(const ByteSpan& source, const KillArea& bounds) {
  const uint8_t* h = source.data;
  return BoxOverlapsBounds(load_i32le(h + kBoxNorthOffset), load_i32le(h + kBoxSouthOffset),
                           load_i32le(h + kBoxEastOffset), load_i32le(h + kBoxWestOffset), bounds);
}

FilterResult Outcome(FilterOutcome outcome) {
  return FilterResult{outcome, kEmptyByteBuffer, kNoSceneryError, 0};
}

}  // namespace

FilterResult FilterSceneryBytes(const ByteSpan& source, const KillAreaList& areas,
                                const KillArea& bounds) {
  if (!SpanHolds(source, 0, kHeaderSize)) {
    FilterResult result = Outcome(FilterOutcome::kFailed);
    result.error = SceneryError{SceneryFault::kShortHeader, 0};
    return result;
  }
  if (!BoxOverlaps(source, bounds)) return Outcome(FilterOutcome::kUntouched);

  FilterResult result = Outcome(FilterOutcome::kRewritten);
  // The rewritten file is rarely larger than the source: padding and
  // dropped objects go, only blocks shared by several entries are copied twice.
  ByteBufferReserve(result.rewritten, source.size);
  ByteBufferAppend(result.rewritten, source.data, kHeaderSize);
  switch (
      RebuildObjectIndex(result.rewritten, source, areas, result.error, result.objects_dropped)) {
    case RebuildResult::kRebuilt: return result;
    case RebuildResult::kNotIndexed: result.outcome = FilterOutcome::kNotIndexed; break;
    case RebuildResult::kFailed: result.outcome = FilterOutcome::kFailed; break;
  }
  ByteBufferFree(result.rewritten);
  return result;
}
