#include "tools/aerilon-course/source/source_fields.h"

#include <algorithm>
#include <cstdio>

#include "common/windows1252_text.h"
#include "tools/aerilon-course/source/nearest_name.h"

void SourceErrors::Add(const toml::source_region& at, const std::string& message) {
  Add(SourceSpot{static_cast<int>(at.begin.line), static_cast<int>(at.begin.column)}, message);
}

void SourceErrors::Add(SourceSpot at, const std::string& message) {
  out_->push_back(Diagnostic{Severity::kError, file_, at.line, at.column, message});
  ++count_;
}

SourceSpot SpotOf(const toml::node& node) {
  return SourceSpot{static_cast<int>(node.source().begin.line),
                    static_cast<int>(node.source().begin.column)};
}

Fields::Fields(SourceErrors& errors, const toml::table& table, std::string what)
    : errors_(errors), table_(table), what_(std::move(what)) {}

const toml::node* Fields::Take(const char* key) {
  if (std::find(known_.begin(), known_.end(), key) == known_.end()) known_.push_back(key);
  return table_.get(key);
}

void Fields::Finish() {
  for (const auto& [key, node] : table_) {
    const std::string name(key.str());
    if (std::find(known_.begin(), known_.end(), name) != known_.end()) continue;
    if (told_.count(name) != 0) continue;
    std::string known;
    for (const std::string& k : known_) known += (known.empty() ? "" : ", ") + k;
    std::optional<std::string> meant = NearestName(name, known_);
    errors_.Add(key.source(), "unknown key \"" + name + "\" in " +
                                  (what_.empty() ? "the course's top level" : what_) +
                                  (meant ? "; did you mean \"" + *meant + "\"?" : "") +
                                  " (known: " + known + ")");
  }
}

// The course's top level has no name of its own; its keys name themselves.
std::string Fields::Prefix() const {
  return what_.empty() ? "" : what_ + ": ";
}

void Fields::Error(const toml::node& at, const std::string& message) {
  errors_.Add(at.source(), Prefix() + message);
}

void Fields::Missing(const char* key, const std::string& expected) {
  errors_.Add(table_.source(), Prefix() + "missing " + key + " (" + expected + ")");
}

std::optional<int32_t> Fields::RawValue(const char* key, const toml::table& raw) {
  const toml::node* value = raw.get("raw");
  if (raw.size() != 1 || value == nullptr || !value->is_integer()) {
    Error(raw, std::string(key) + ": a raw value is written { raw = N } with a whole number");
    return std::nullopt;
  }
  int64_t n = value->as_integer()->get();
  if (n < INT32_MIN || n > INT32_MAX) {
    Error(*value, std::string(key) + ": raw value " + std::to_string(n) +
                      " does not fit the course file's 32 bits");
    return std::nullopt;
  }
  return static_cast<int32_t>(n);
}

std::optional<DesignerValue> Fields::Value(const toml::node& node) {
  DesignerValue v;
  if (node.is_integer()) {
    v.is_number = true;
    v.number = static_cast<double>(node.as_integer()->get());
  } else if (node.is_floating_point()) {
    v.is_number = true;
    v.number = node.as_floating_point()->get();
  } else if (node.is_string()) {
    v.text = node.as_string()->get();
  } else {
    return std::nullopt;
  }
  return v;
}

namespace {

std::string Shown(const DesignerValue& value) {
  if (!value.is_number) return "\"" + value.text + "\"";
  char text[32];
  std::snprintf(text, sizeof text, "%g", value.number);
  return text;
}

}  // namespace

std::optional<int32_t> Fields::Quantity(const char* key, Dimension dimension, bool required) {
  const toml::node* node = Take(key);
  if (node == nullptr) {
    if (required) Missing(key, ExpectedValue(dimension));
    return std::nullopt;
  }
  return QuantityOf(*node, key, dimension);
}

std::optional<int32_t> Fields::QuantityOf(const toml::node& value_node, const char* key,
                                          Dimension dimension) {
  const std::string expected = ExpectedValue(dimension);
  std::string fault;
  const toml::node* node = &value_node;
  if (const toml::table* raw = node->as_table()) return RawValue(key, *raw);
  std::optional<DesignerValue> value = Value(*node);
  std::optional<int32_t> units = value ? FileUnits(dimension, *value, &fault) : std::nullopt;
  if (!units && !value) Error(*node, std::string(key) + ": expected " + expected);
  if (!units && value) Error(*node, std::string(key) + ": " + Shown(*value) + " is not " + fault);
  return units;
}

std::optional<double> Fields::Distance(const char* key, bool required) {
  std::string expected;
  const toml::node* node = Take(key);
  if (node == nullptr) {
    if (required) Missing(key, "a distance in metres, or a text such as \"500 m\" or \"2.5 NM\"");
    return std::nullopt;
  }
  return DistanceOf(*node, key);
}

std::optional<double> Fields::DistanceOf(const toml::node& value_node, const char* key) {
  std::string expected;
  const toml::node* node = &value_node;
  std::optional<DesignerValue> value = Value(*node);
  std::optional<double> metres = value ? Metres(*value, &expected) : std::nullopt;
  if (!metres) {
    Error(*node, std::string(key) +
                     ": expected a distance in metres, or a text such as \"500 m\", \"4 km\" or "
                     "\"2.5 NM\"");
  }
  return metres;
}

std::optional<double> Fields::Bearing(const char* key, bool required) {
  std::string expected;
  const toml::node* node = Take(key);
  if (node == nullptr) {
    if (required) Missing(key, "a bearing in degrees from 0 to 360");
    return std::nullopt;
  }
  std::optional<DesignerValue> value = Value(*node);
  std::optional<double> degrees = value ? BearingDegrees(*value, &expected) : std::nullopt;
  if (!degrees) Error(*node, std::string(key) + ": expected a bearing in degrees from 0 to 360");
  return degrees;
}

std::optional<int32_t> Fields::Integer(const char* key, bool required, int64_t low, int64_t high) {
  const toml::node* node = Take(key);
  bool any = low == INT32_MIN && high == INT32_MAX;
  std::string range =
      any ? "a whole number"
          : "a whole number from " + std::to_string(low) + " to " + std::to_string(high);
  if (node == nullptr) {
    if (required) Missing(key, range);
    return std::nullopt;
  }
  if (!node->is_integer()) {
    Error(*node, std::string(key) + ": expected " + range);
    return std::nullopt;
  }
  int64_t n = node->as_integer()->get();
  if (n < low || n > high) {
    Error(*node, std::string(key) + ": " + std::to_string(n) + " is not " +
                     (any ? "a whole number that fits 32 bits" : range));
    return std::nullopt;
  }
  return static_cast<int32_t>(n);
}

std::optional<bool> Fields::Flag(const char* key) {
  const toml::node* node = Take(key);
  if (node == nullptr) return std::nullopt;
  if (!node->is_boolean()) {
    Error(*node, std::string(key) + ": expected true or false");
    return std::nullopt;
  }
  return node->as_boolean()->get();
}

std::optional<std::string> Fields::String(const char* key, bool required) {
  const toml::node* node = Take(key);
  if (node == nullptr) {
    if (required) Missing(key, "a text");
    return std::nullopt;
  }
  if (!node->is_string()) {
    Error(*node, std::string(key) + ": expected a text in double quotes");
    return std::nullopt;
  }
  return node->as_string()->get();
}

course_model::Text Fields::Text(const char* key) {
  const toml::node* node = Take(key);
  if (node == nullptr) return {};
  if (!node->is_string()) {
    Error(*node, std::string(key) + ": expected a text in double quotes");
    return {};
  }
  Windows1252Conversion converted = Utf8ToWindows1252(node->as_string()->get());
  if (converted.bad_utf8) {
    Error(*node, std::string(key) + ": the text is not valid UTF-8");
    return {};
  }
  if (!converted.offending.empty()) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", converted.code_point);
    Error(*node, std::string(key) + ": the character \"" + converted.offending + "\" (" + code +
                     ") has no Windows Latin-1 form");
    return {};
  }
  if (converted.bytes.find('\0') != std::string::npos) {
    Error(*node, std::string(key) + ": a text cannot hold a NUL character, which would end it");
    return {};
  }
  if (converted.bytes.empty()) return course_model::Text::Empty();
  return converted.bytes;
}

std::string Fields::Windows1252(const char* key) {
  course_model::Text text = Text(key);
  return text.Bytes();
}

const toml::table* Fields::Table(const char* key, bool required) {
  const toml::node* node = Take(key);
  if (node == nullptr) {
    if (required) Missing(key, "a table");
    return nullptr;
  }
  if (!node->is_table()) {
    Error(*node, std::string(key) + ": expected a table");
    return nullptr;
  }
  return node->as_table();
}

const toml::array* Fields::Array(const char* key) {
  const toml::node* node = Take(key);
  if (node == nullptr) return nullptr;
  if (!node->is_array()) {
    Error(*node, std::string(key) + ": expected an array");
    return nullptr;
  }
  return node->as_array();
}
