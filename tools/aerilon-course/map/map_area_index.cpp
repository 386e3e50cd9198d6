#include "tools/aerilon-course/map/map_area_index.h"

#include <algorithm>
#include <cmath>

namespace {

// About a label's height, so that a place is asked of a few cells.
constexpr double kCellPixels = 64;

int CellCount(double pixels) {
  return std::max(1, static_cast<int>(std::ceil(pixels / kCellPixels)));
}

// The cell of a pixel coordinate, held to the picture; a coordinate that
// is not a number goes to the first.
int CellIndex(double cells, int count) {
  if (!(cells > 0)) return 0;
  return cells >= count - 1 ? count - 1 : static_cast<int>(cells);
}

bool Covers(const Rect& outer, const Rect& inner) {
  return outer.x0 <= inner.x0 && outer.y0 <= inner.y0 && inner.x1 <= outer.x1 &&
         inner.y1 <= outer.y1;
}

}  // namespace

AreaIndex::AreaIndex(int width, int height)
    : width_(width),
      height_(height),
      columns_(CellCount(width)),
      rows_(CellCount(height)),
      cells_(static_cast<size_t>(columns_) * static_cast<size_t>(rows_)) {}

// A rectangle that overlaps another has a point inside both away from
// their edges, in a cell both reach into: from the cell of the low edge to
// the cell just before the high one (the low edge's own for a rectangle
// of no width).
AreaIndex::CellRange AreaIndex::CellsOf(const Rect& r) const {
  auto range = [](double low, double high, int count, int* first, int* last) {
    *first = CellIndex(std::floor(low / kCellPixels), count);
    *last = std::max(*first, CellIndex(std::ceil(high / kCellPixels) - 1, count));
  };
  CellRange c{};
  range(r.x0, r.x1, columns_, &c.x0, &c.x1);
  range(r.y0, r.y1, rows_, &c.y0, &c.y1);
  return c;
}

Rect AreaIndex::CellArea(int x, int y) const {
  return Rect{x * kCellPixels, y * kCellPixels, (x + 1) * kCellPixels, (y + 1) * kCellPixels};
}

void AreaIndex::Add(const Rect& area) {
  // Outside the picture (or not a number) it cannot overlap a place in it.
  if (!(area.x1 > 0 && area.y1 > 0 && area.x0 < width_ && area.y0 < height_)) return;
  const uint32_t id = static_cast<uint32_t>(areas_.size());
  areas_.push_back(area);
  const CellRange c = CellsOf(area);
  for (int y = c.y0; y <= c.y1; ++y) {
    for (int x = c.x0; x <= c.x1; ++x) {
      Cell& cell = At(x, y);
      if (cell.full) continue;
      cell.full = Covers(area, CellArea(x, y)) || cell.areas.size() + 1 >= kCellAreas;
      if (cell.full) {
        cell.areas = std::vector<uint32_t>();
      } else {
        cell.areas.push_back(id);
      }
    }
  }
}

bool AreaIndex::AnyOverlaps(const Rect& place) const {
  const CellRange c = CellsOf(place);
  for (int y = c.y0; y <= c.y1; ++y) {
    for (int x = c.x0; x <= c.x1; ++x) {
      const Cell& cell = At(x, y);
      if (cell.full) return true;
      for (uint32_t id : cell.areas) {
        ++comparisons_;
        if (areas_[id].Overlaps(place)) return true;
      }
    }
  }
  return false;
}
