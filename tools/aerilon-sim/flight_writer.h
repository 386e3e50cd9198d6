#pragma once

#include <string>

#include "tools/aerilon-sim/flight_script.h"

// One line of a flight script as the reader takes it back, in the file's
// own units ("state" with the fields the change sets, "command", "event",
// "answer", "end"): a flight that a program flew, written to be flown again.
std::string FlightLineText(const FlightLine& line);
