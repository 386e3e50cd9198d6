#include "tests/win32/rally_host/product_code_registry_win32.h"

#include <windows.h>

#include <stdexcept>

namespace {

constexpr char kKey[] = "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\6.1";
constexpr char kValue[] = "ProductID";

HKEY OpenKey() {
  HKEY key = nullptr;
  LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                                nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) {
    throw std::runtime_error("RegCreateKeyExA(HKLM\\" + std::string(kKey) + ") failed, error " +
                             std::to_string(status));
  }
  return key;
}

}  // namespace

ProductCodeValue::ProductCodeValue() {
  HKEY key = OpenKey();
  char text[256];
  DWORD size = sizeof text;
  DWORD type = 0;
  if (RegQueryValueExA(key, kValue, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) ==
          ERROR_SUCCESS &&
      type == REG_SZ) {
    had_value_ = true;
    previous_.assign(text, size > 0 && text[size - 1] == '\0' ? size - 1 : size);
  }
  RegCloseKey(key);
}

ProductCodeValue::~ProductCodeValue() {
  try {
    if (had_value_) {
      Set(previous_);
    } else {
      Remove();
    }
  } catch (const std::exception&) {
    // The registry of the test prefix stays as the case left it.
  }
}

void ProductCodeValue::Set(const std::string& text) {
  HKEY key = OpenKey();
  LONG status = RegSetValueExA(key, kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>(text.size() + 1));
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) {
    throw std::runtime_error("RegSetValueExA(ProductID) failed, error " + std::to_string(status));
  }
}

void ProductCodeValue::Remove() {
  HKEY key = OpenKey();
  LONG status = RegDeleteValueA(key, kValue);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
    throw std::runtime_error("RegDeleteValueA(ProductID) failed, error " + std::to_string(status));
  }
}
