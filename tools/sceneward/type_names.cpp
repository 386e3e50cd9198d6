#include "tools/sceneward/type_names.h"

std::string DescribeTypeCode(uint8_t type) {
  const char* name = nullptr;
  switch (type) {
    case 10: name = "GLOBAL"; break;
    case 20: name = "REGIONAL"; break;
    case 30: name = "LOCAL"; break;
    case 40: name = "LOW"; break;
    case 50: name = "HIGH"; break;
    default: break;
  }
  std::string text = std::to_string(type);
  return name == nullptr ? text : text + " " + name;
}
