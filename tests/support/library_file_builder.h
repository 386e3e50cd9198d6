#pragma once

// Builds scenery library files in code for the Sceneward tests: a header, six
// sections in any order, an area list made of entries. It lays the bytes out
// on its own, so that the library code is checked against a second,
// independent reading of the layout.
#include <cstdint>
#include <string>
#include <vector>

struct AreaEntryFields {
  uint8_t type;
  uint8_t active_flag;
  std::string folder_pattern;
  std::string title;
  uint8_t mark = 1;
};

struct LibraryFileBuilder {
  // Contents of sections 1 to 6 (index 0 unused); section 4 is built from the
  // entries, followed by the list's zero byte and `after_list`.
  std::vector<uint8_t> sections[7];
  std::vector<AreaEntryFields> entries;
  std::vector<uint8_t> after_list;
  std::vector<int> order = {1, 2, 3, 4, 5, 6};
  uint8_t reserved_fill = 0xA5;  // what the reserved header bytes hold

  LibraryFileBuilder() {
    sections[1] = Fill(10, 0x11);
    sections[2] = Fill(7, 0x22);
    sections[3] = Fill(5, 0x33);
    sections[5] = Fill(9, 0x55);
    sections[6] = Fill(4, 0x66);
  }

  static std::vector<uint8_t> Fill(size_t count, uint8_t value) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(value + i);
    return bytes;
  }

  std::vector<uint8_t> AreaList() const {
    std::vector<uint8_t> list;
    for (const AreaEntryFields& e : entries) {
      list.push_back(e.mark);
      list.push_back(e.type);
      list.push_back(e.active_flag);
      list.insert(list.end(), e.folder_pattern.begin(), e.folder_pattern.end());
      list.push_back(0);
      list.insert(list.end(), e.title.begin(), e.title.end());
      list.push_back(0);
    }
    list.push_back(0);
    list.insert(list.end(), after_list.begin(), after_list.end());
    return list;
  }

  std::vector<uint8_t> Build() const {
    std::vector<uint8_t> file(36, 0);
    for (int i = 16; i < 32; ++i) file[i] = reserved_fill;
    for (int section : order) {
      Put16(file, 4 + 2 * (section - 1), file.size());
      std::vector<uint8_t> body = section == 4 ? AreaList() : sections[section];
      file.insert(file.end(), body.begin(), body.end());
    }
    Put16(file, 0, file.size());
    file[2] = 0x4D;
    file[3] = 0x52;
    file[32] = 118;
    return file;
  }

  // The library as a rewrite must leave it: sections 1, 2, 3, 6, list, 5 and
  // reserved bytes zero.
  LibraryFileBuilder Rewritten() const {
    LibraryFileBuilder copy = *this;
    copy.order = {1, 2, 3, 6, 4, 5};
    copy.reserved_fill = 0;
    return copy;
  }

  static void Put16(std::vector<uint8_t>& file, size_t at, size_t value) {
    file[at] = static_cast<uint8_t>(value);
    file[at + 1] = static_cast<uint8_t>(value >> 8);
  }
};
