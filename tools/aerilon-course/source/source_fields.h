#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <toml++/toml.h>

#include "course_model/course.h"
#include "tools/aerilon-course/course_document.h"
#include "tools/aerilon-course/diagnostics.h"
#include "tools/aerilon-course/source/designer_values.h"

// Reading a course source's tables: every error is kept with its line and
// column, and the reading goes on, so that one run reports them all.
class SourceErrors {
 public:
  SourceErrors(std::string file, std::vector<Diagnostic>* out)
      : file_(std::move(file)), out_(out) {}
  void Add(const toml::source_region& at, const std::string& message);
  void Add(SourceSpot at, const std::string& message);
  bool Any() const { return count_ > 0; }
  const std::string& File() const { return file_; }

 private:
  std::string file_;
  std::vector<Diagnostic>* out_;
  int count_ = 0;
};

SourceSpot SpotOf(const toml::node& node);

// One table of the source, read key by key. Every key asked for is known;
// Finish reports the table's other keys as unknown, so a misspelt key is
// an error rather than silently ignored.
class Fields {
 public:
  Fields(SourceErrors& errors, const toml::table& table, std::string what);

  const toml::node* Take(const char* key);
  bool Has(const char* key) const { return table_.contains(key); }
  // A key told of already (an unknown table at its header): Finish passes it over.
  void Told(const std::string& key) { told_.insert(key); }
  void Finish();

  // A value in its designer's unit, or { raw = N } in the file's.
  std::optional<int32_t> Quantity(const char* key, Dimension dimension, bool required);
  std::optional<double> Distance(const char* key, bool required);
  // The same for a value that is not a key of this table (an array's item).
  std::optional<int32_t> QuantityOf(const toml::node& node, const char* key, Dimension dimension);
  std::optional<double> DistanceOf(const toml::node& node, const char* key);
  std::optional<double> Bearing(const char* key, bool required);
  // A whole number within [low, high].
  std::optional<int32_t> Integer(const char* key, bool required, int64_t low = INT32_MIN,
                                 int64_t high = INT32_MAX);
  std::optional<bool> Flag(const char* key);
  std::optional<std::string> String(const char* key, bool required);
  // A text: left out is none; "" is an empty text; UTF-8 turned into code page 1252.
  course_model::Text Text(const char* key);
  // Code page 1252 bytes of a required-ish text such as a title; "" when left out.
  std::string Windows1252(const char* key);
  const toml::table* Table(const char* key, bool required);
  const toml::array* Array(const char* key);

  void Error(const toml::node& at, const std::string& message);
  void Missing(const char* key, const std::string& expected);
  const std::string& What() const { return what_; }
  const toml::table& Raw() const { return table_; }
  SourceErrors& Errors() { return errors_; }

 private:
  std::string Prefix() const;
  std::optional<int32_t> RawValue(const char* key, const toml::table& raw);
  std::optional<DesignerValue> Value(const toml::node& node);

  SourceErrors& errors_;
  const toml::table& table_;
  std::string what_;
  std::vector<std::string> known_;
  std::set<std::string> told_;
};
