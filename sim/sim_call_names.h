#pragma once

#include <string>
#include <vector>

// The names of a logged call's arguments, in the order SimCall::args holds
// them, for transcripts and test messages.
const std::vector<std::string>& SimArgNames(const std::string& op);
