#pragma once

// The index rebuild exactly as its rule is written, without any mending,
// computed from a file's description rather than its bytes. Tests compare
// the real rebuild against it for the orders in which the rule already
// keeps every kept entry and counts the list right.

#include <algorithm>
#include <cstdint>
#include <variant>
#include <vector>

#include "common/little_endian.h"
#include "sceneward/script/kill_area.h"
#include "sceneward/writer/scenery_writer.h"

namespace scenery_test {

struct RuleAsWritten {
  std::vector<uint8_t> bytes;  // the whole rewritten file
  uint32_t count = 0;          // the count it writes into the list head
};

inline RuleAsWritten RebuildByTheRule(const scenery_source::SceneryFile& file,
                                      const scenery_source::WrittenFile& written,
                                      const std::vector<KillArea>& areas) {
  using namespace scenery_source;
  const std::vector<uint8_t>& src = written.bytes;
  std::vector<uint8_t> out(src.begin(), src.begin() + 168);  // header, extension block
  std::vector<uint8_t> work;
  uint32_t pos = 0;
  auto put = [&](const std::vector<uint8_t>& bytes) {
    if (work.size() < pos + bytes.size()) work.resize(pos + bytes.size());
    std::copy(bytes.begin(), bytes.end(), work.begin() + pos);
    pos += static_cast<uint32_t>(bytes.size());
  };
  uint32_t C[5] = {}, P[5] = {}, K0 = 0, K1 = 0, count = 0;
  auto empty = [&](int level) {
    switch (level) {
      case 4: return C[4] > 0 && K1 == 0;
      case 3: return C[3] > 0 && C[4] == 0 && K0 == 0;
      case 2: return C[2] > 0 && C[3] == 0 && C[4] == 0 && K0 == 0;
      default: return C[1] > 0 && C[2] == 0;
    }
  };
  auto drop = [&](int level) {
    if (!empty(level)) return;
    pos = P[level];
    C[level]--;
    count--;
  };
  auto place = [&](int level) {
    if (empty(level)) {
      pos = P[level];
      count--;
    } else {
      C[level]++;
      P[level] = pos;
    }
  };
  put(std::vector<uint8_t>(src.begin() + written.index_offset,
                           src.begin() + written.index_offset + 24));
  for (const IndexItem& item : file.index) {
    const Entry* entry = std::get_if<Entry>(&item);
    if (entry == nullptr) continue;
    const uint16_t kind = entry->kind;
    if (kind == 5) {
      const Object& object = file.objects.at(entry->object);
      bool inside = false;
      for (const KillArea& area : areas) {
        inside = inside ||
                 (object.has_position && PointInKillArea(area, object.latitude, object.longitude));
      }
      if (inside) continue;
      const uint32_t new_offset = static_cast<uint32_t>(out.size());
      const std::vector<uint8_t> block = ObjectBlockBytes(object);
      out.insert(out.end(), block.begin(), block.end());
      put(EntryBytes(*entry, new_offset));
      count++;
      (entry->object_class == 1 ? K1 : K0)++;
      continue;
    }
    if (kind >= 1 && kind <= 4) {
      for (int deeper = 4; deeper > kind; --deeper) drop(deeper);
      place(kind);
      if (kind == 4) {
        K1 = 0;
      } else {
        for (int lower = kind + 1; lower <= 4; ++lower) C[lower] = 0;
        K0 = 0;
      }
    }
    put(EntryBytes(*entry, entry->data_offset));
    count++;
  }
  drop(4);
  drop(3);
  drop(2);
  if (empty(1)) {
    pos = P[1];
    count--;
  }
  const std::vector<uint8_t> end(src.begin() + written.end_offset,
                                 src.begin() + written.end_offset + 8);
  put(end);
  out.insert(out.end(), end.begin(), end.end());
  store_u32le(out.data() + 128 + 28, static_cast<uint32_t>(out.size()));
  std::vector<uint8_t> list = work;
  store_u32le(list.data() + 4, static_cast<uint32_t>(work.size()) - 8);
  store_u32le(list.data() + 8 + 12, count);
  out.insert(out.end(), list.begin(), list.end());
  out.insert(out.end(), 8, 0);
  return RuleAsWritten{out, count};
}

}  // namespace scenery_test
