#pragma once

#include <string>

// The simulator's "ProductID" value under HKEY_LOCAL_MACHINE, key
// "SOFTWARE\Microsoft\Microsoft Games\Flight Simulator\6.1": set or removed
// by a case and put back as it was when the case ends.
class ProductCodeValue {
 public:
  ProductCodeValue();
  ~ProductCodeValue();
  ProductCodeValue(const ProductCodeValue&) = delete;
  ProductCodeValue& operator=(const ProductCodeValue&) = delete;

  // Throw std::runtime_error when the registry refuses.
  void Set(const std::string& text);
  void Remove();

 private:
  bool had_value_ = false;
  std::string previous_;
};
