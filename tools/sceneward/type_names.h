#pragma once

#include <cstdint>
#include <string>

// "20 REGIONAL": a type code with the script word that gives it, when one does.
std::string DescribeTypeCode(uint8_t type);
