// The serial-port key, built from /sys/class/tty, and the version query.
#include "platform/core/registry.h"

#include <sys/utsname.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string_view>
#include <unordered_map>
#include <vector>

struct HKEY__ {
  char unused;
};

namespace platform::registry_detail {
HKEY__ localMachine{};
}

namespace {

constexpr std::string_view kSerialCommKey = "HARDWARE\\DEVICEMAP\\SERIALCOMM";

struct Value {
  std::string name;
  DWORD type = REG_SZ;
  std::string data;  // raw bytes, a REG_SZ with its zero
};

struct Settings {
  std::mutex mu;
  std::string sysfsRoot = "/sys";
  bool realHidden = false;
  std::vector<Value> testValues;
};

Settings& TheSettings() {
  static auto* settings = new Settings;
  return *settings;
}

struct KeyTable {
  std::mutex mu;
  std::unordered_map<std::uintptr_t, std::vector<Value>> keys;
  std::uintptr_t next = 1;  // never reused: a closed key can never reach a newer snapshot
};

// Never destroyed, so a thread still inside a call at process exit finds it intact.
KeyTable& Keys() {
  static auto* table = new KeyTable;
  return *table;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

// "ttyUSB3" -> 36; 0 when the device has no COM name. Mirrors ComDevicePath.
int ComNumberOf(std::string_view device) {
  struct Kind {
    std::string_view prefix;
    int first, count;
  };
  static constexpr Kind kKinds[] = {
      {"ttyS", 1, 32}, {"ttyUSB", 33, 32}, {"ttyACM", 65, 32}, {"rfcomm", 97, 4}};
  for (const Kind& kind : kKinds) {
    if (!device.starts_with(kind.prefix)) continue;
    const std::string_view digits = device.substr(kind.prefix.size());
    // "ttyS01" is not the node COM2 opens
    if (digits.empty() || digits.size() > 2 || (digits.size() > 1 && digits[0] == '0')) return 0;
    int n = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') return 0;
      n = n * 10 + (c - '0');
    }
    return n < kind.count ? kind.first + n : 0;
  }
  return 0;
}

// serial_core leaves unprobed ports at type 0 (PORT_UNKNOWN); opening those fails.
bool HasUart(const std::filesystem::path& ttyDir) {
  std::ifstream in(ttyDir / "type");
  long type = 0;
  return static_cast<bool>(in >> type) && type != 0;
}

std::vector<Value> DeviceValues(const std::string& sysfsRoot) {
  std::vector<std::pair<int, Value>> found;
  std::error_code ec;
  const std::filesystem::path classDir = std::filesystem::path(sysfsRoot) / "class" / "tty";
  for (std::filesystem::directory_iterator it(classDir, ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string device = it->path().filename().string();
    const int com = ComNumberOf(device);
    if (com == 0) continue;
    if (device.starts_with("ttyS") && !HasUart(it->path())) continue;
    found.push_back({com, {"\\Device\\" + device, REG_SZ, "COM" + std::to_string(com) + '\0'}});
  }
  std::sort(found.begin(), found.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Value> values;
  values.reserve(found.size());
  for (auto& entry : found) values.push_back(std::move(entry.second));
  return values;
}

std::vector<Value> Snapshot() {
  std::string root;
  bool hidden;
  std::vector<Value> values;
  {
    Settings& s = TheSettings();
    std::lock_guard lock(s.mu);
    root = s.sysfsRoot;
    hidden = s.realHidden;
    values = s.testValues;
  }
  if (hidden) return values;
  std::vector<Value> all = DeviceValues(root);
  all.insert(all.end(), std::make_move_iterator(values.begin()),
             std::make_move_iterator(values.end()));
  return all;
}

std::uintptr_t KeyId(HKEY key) {
  return reinterpret_cast<std::uintptr_t>(key);
}

}  // namespace

LONG RegOpenKeyExA(HKEY hKey, const char* lpSubKey, DWORD /*ulOptions*/, REGSAM /*samDesired*/,
                   HKEY* phkResult) {
  if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  if (hKey != HKEY_LOCAL_MACHINE || lpSubKey == nullptr || !EqualNoCase(lpSubKey, kSerialCommKey)) {
    return ERROR_FILE_NOT_FOUND;
  }
  std::vector<Value> values = Snapshot();
  KeyTable& table = Keys();
  std::lock_guard lock(table.mu);
  const std::uintptr_t id = table.next++;
  table.keys.emplace(id, std::move(values));
  *phkResult = reinterpret_cast<HKEY>(id);
  return ERROR_SUCCESS;
}

LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName,
                   DWORD* lpReserved, DWORD* lpType, BYTE* lpData, DWORD* lpcbData) {
  if (lpValueName == nullptr || lpcchValueName == nullptr || lpReserved != nullptr ||
      (lpData != nullptr && lpcbData == nullptr)) {
    return ERROR_INVALID_PARAMETER;
  }
  KeyTable& table = Keys();
  std::lock_guard lock(table.mu);
  auto it = table.keys.find(KeyId(hKey));
  if (it == table.keys.end()) return ERROR_INVALID_HANDLE;
  const std::vector<Value>& values = it->second;
  if (dwIndex >= values.size()) return ERROR_NO_MORE_ITEMS;

  const Value& value = values[dwIndex];
  const auto nameNeeded = static_cast<DWORD>(value.name.size() + 1);
  const auto dataSize = static_cast<DWORD>(value.data.size());
  const bool nameFits = *lpcchValueName >= nameNeeded;
  const bool dataFits = lpData == nullptr || *lpcbData >= dataSize;
  if (lpType != nullptr) *lpType = value.type;
  if (!nameFits || !dataFits) {
    *lpcchValueName = nameNeeded;
    if (lpcbData != nullptr) *lpcbData = dataSize;
    return ERROR_MORE_DATA;
  }
  std::memcpy(lpValueName, value.name.c_str(), nameNeeded);
  *lpcchValueName = nameNeeded - 1;
  if (lpData != nullptr) std::memcpy(lpData, value.data.data(), dataSize);
  if (lpcbData != nullptr) *lpcbData = dataSize;
  return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY hKey) {
  KeyTable& table = Keys();
  std::lock_guard lock(table.mu);
  return table.keys.erase(KeyId(hKey)) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

BOOL GetVersionExA(OSVERSIONINFOA* info) {
  if (info == nullptr || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  utsname uts{};
  if (::uname(&uts) != 0) {
    SetLastError(ERROR_GEN_FAILURE);
    return FALSE;
  }
  DWORD parts[3] = {0, 0, 0};
  const char* p = uts.release;
  for (DWORD& part : parts) {
    char* end = nullptr;
    const unsigned long n = std::strtoul(p, &end, 10);
    if (end == p) break;
    part = static_cast<DWORD>(n);
    if (*end != '.') break;
    p = end + 1;
  }
  info->dwMajorVersion = parts[0];
  info->dwMinorVersion = parts[1];
  info->dwBuildNumber = parts[2];
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  info->szCSDVersion[0] = '\0';
  return TRUE;
}

namespace platform {

void SetRegistrySysfsRoot(const std::string& root) {
  Settings& s = TheSettings();
  std::lock_guard lock(s.mu);
  s.sysfsRoot = root.empty() ? "/sys" : root;
}

void SetRegistryRealDevicesHidden(bool hidden) {
  Settings& s = TheSettings();
  std::lock_guard lock(s.mu);
  s.realHidden = hidden;
}

void RegistryAddTestValue(const std::string& name, DWORD type, const std::string& data) {
  Settings& s = TheSettings();
  std::lock_guard lock(s.mu);
  s.testValues.push_back({name, type, type == REG_SZ ? data + '\0' : data});
}

void RegistryClearTestValues() {
  Settings& s = TheSettings();
  std::lock_guard lock(s.mu);
  s.testValues.clear();
}

}  // namespace platform
