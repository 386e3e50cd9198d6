#include "course_model/course.h"

using namespace course_model;

std::vector<EntrySlot> course_model::EntryOrder(const Course& course) {
  if (!course.entry_order.empty()) return course.entry_order;
  std::vector<EntrySlot> order;
  for (size_t i = 0; i < course.legs.size(); ++i) order.push_back({EntrySlot::kLeg, i});
  for (size_t i = 0; i < course.bonus_objects.size(); ++i) {
    order.push_back({EntrySlot::kBonusObject, i});
  }
  return order;
}
