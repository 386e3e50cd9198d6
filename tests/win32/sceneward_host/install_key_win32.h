#pragma once

#include <string>

// The add-on's key under HKEY_LOCAL_MACHINE, set up by a case as it needs
// it. Whatever the key held before the program started is put back when
// the last InstallKey goes (the key is removed if there was none).
class InstallKey {
 public:
  InstallKey();
  ~InstallKey();
  InstallKey(const InstallKey&) = delete;
  InstallKey& operator=(const InstallKey&) = delete;

  // Creates the key (if missing) and stores a string value; throws on failure.
  void Set(const char* name, const std::string& value);
  // Removes the key with its values.
  void Remove();
};
