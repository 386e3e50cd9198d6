#include "tests/win32/sceneward_host/install_key_win32.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

namespace {

const char kInstallKeyPath[] = "SOFTWARE\\Vesk\\Aerilon by Vesk\\1.00";
const char kVendorKey[] = "SOFTWARE\\Vesk";
const char kProductKey[] = "SOFTWARE\\Vesk\\Aerilon by Vesk";

bool KeyExists(const char* path) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

struct StoredValue {
  const char* name;
  bool present = false;
  DWORD type = 0;
  std::vector<BYTE> data;
};

// What the machine held before the first case, to be put back after the last.
struct Snapshot {
  bool vendor_key = false;
  bool product_key = false;
  bool install_key = false;
  StoredValue values[2] = {{"VIS_Path", false, 0, {}}, {"Data_Path", false, 0, {}}};
};

Snapshot TakeSnapshot() {
  Snapshot s;
  s.vendor_key = KeyExists(kVendorKey);
  s.product_key = KeyExists(kProductKey);
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kInstallKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return s;
  }
  s.install_key = true;
  for (StoredValue& v : s.values) {
    DWORD size = 0;
    if (RegQueryValueExA(key, v.name, nullptr, &v.type, nullptr, &size) != ERROR_SUCCESS) continue;
    v.data.resize(size);
    v.present =
        RegQueryValueExA(key, v.name, nullptr, &v.type, v.data.data(), &size) == ERROR_SUCCESS;
  }
  RegCloseKey(key);
  return s;
}

HKEY CreateInstallKey() {
  HKEY key;
  DWORD disposition;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kInstallKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &key, &disposition) != ERROR_SUCCESS) {
    throw std::runtime_error("cannot create the install key");
  }
  return key;
}

Snapshot* g_before = nullptr;
int g_users = 0;

void Restore(const Snapshot& s) {
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kInstallKeyPath);
  if (s.install_key) {
    HKEY key = CreateInstallKey();
    for (const StoredValue& v : s.values) {
      if (v.present) {
        RegSetValueExA(key, v.name, 0, v.type, v.data.data(), static_cast<DWORD>(v.data.size()));
      }
    }
    RegCloseKey(key);
    return;
  }
  if (!s.product_key) RegDeleteKeyA(HKEY_LOCAL_MACHINE, kProductKey);
  if (!s.vendor_key) RegDeleteKeyA(HKEY_LOCAL_MACHINE, kVendorKey);
}

}  // namespace

InstallKey::InstallKey() {
  if (g_users++ == 0) g_before = new Snapshot(TakeSnapshot());
}

InstallKey::~InstallKey() {
  if (--g_users > 0) return;
  Restore(*g_before);
  delete g_before;
  g_before = nullptr;
}

void InstallKey::Set(const char* name, const std::string& value) {
  HKEY key = CreateInstallKey();
  LONG status = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) throw std::runtime_error(std::string("cannot set ") + name);
}

void InstallKey::Remove() {
  LONG status = RegDeleteKeyA(HKEY_LOCAL_MACHINE, kInstallKeyPath);
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
    throw std::runtime_error("cannot remove the install key");
  }
}
