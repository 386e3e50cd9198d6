#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/aerilon-course/map/map_view.h"

// The areas of a picture that labels keep clear of, sorted into square
// cells, so that whether a place is free is asked of the areas around it
// only: a course of a hundred thousand objects places its labels in time
// that grows with the objects, not with their square. Only what lies in
// the picture is kept.
//
// A cell that an area covers whole is full: any place reaching into it is
// taken. So is a cell over which kCellAreas areas lie, where a label could
// not be read anyway; below that every answer is exact.
class AreaIndex {
 public:
  static constexpr size_t kCellAreas = 256;

  AreaIndex(int width, int height);

  void Add(const Rect& area);
  // Whether `place` overlaps an area added (touching is not overlapping).
  bool AnyOverlaps(const Rect& place) const;
  // How many times an area has been compared with a place, for the tests.
  uint64_t Comparisons() const { return comparisons_; }

 private:
  struct Cell {
    bool full = false;
    std::vector<uint32_t> areas;  // into areas_
  };
  struct CellRange {
    int x0, y0, x1, y1;  // inclusive; the cells the rectangle reaches into
  };
  CellRange CellsOf(const Rect& area) const;
  Rect CellArea(int x, int y) const;
  Cell& At(int x, int y) { return cells_[static_cast<size_t>(y * columns_ + x)]; }
  const Cell& At(int x, int y) const { return cells_[static_cast<size_t>(y * columns_ + x)]; }

  double width_, height_;
  int columns_, rows_;
  std::vector<Rect> areas_;
  std::vector<Cell> cells_;  // row by row
  mutable uint64_t comparisons_ = 0;
};
