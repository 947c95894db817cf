// The port list the detection dialog offers.
#include "detect/port_list.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/core/registry.h"

namespace {

constexpr DWORD kBufferSize = 512;

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(s[i])) !=
        std::toupper(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

// "COM12" -> 12, "COM" -> 0; nothing for anything else, or a number a port id cannot hold.
std::optional<std::uint16_t> PortNumber(std::string_view data) {
  if (data.size() < 3 || !StartsWithNoCase(data, "COM")) return std::nullopt;
  std::uint32_t number = 0;
  for (char c : data.substr(3)) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + static_cast<std::uint32_t>(c - '0');
    if (number > 0xFFFF) return std::nullopt;  // would wrap onto another port
  }
  return static_cast<std::uint16_t>(number);
}

}  // namespace

int EnumSerialPorts(std::vector<std::uint16_t>& list) {
  list.clear();
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0,
                    KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, &key) != ERROR_SUCCESS) {
    return 1;
  }
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  const bool nt = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  const std::string_view prefix = nt ? "\\Device\\" : "COM";

  for (DWORD index = 0;; ++index) {
    char name[kBufferSize];
    BYTE data[kBufferSize];
    DWORD nameLength = kBufferSize;
    DWORD dataSize = kBufferSize;
    DWORD type = 0;
    if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &dataSize) !=
        ERROR_SUCCESS) {
      break;
    }
    if (type != REG_SZ || !StartsWithNoCase(std::string_view(name, nameLength), prefix)) continue;
    // Stored strings need not end in a zero: never read past what was returned.
    const char* text = reinterpret_cast<const char*>(data);
    const std::optional<std::uint16_t> port =
        PortNumber(std::string_view(text, ::strnlen(text, dataSize)));
    if (port) list.push_back(*port);
  }
  return RegCloseKey(key);
}

int GetSerialPortList(std::uint16_t* ports, int* count) {
  if (ports == nullptr || count == nullptr || *count <= 0) return 2;
  std::vector<std::uint16_t> found;
  if (EnumSerialPorts(found) != 0 || found.empty() || found.size() > static_cast<size_t>(*count)) {
    return 1;
  }
  std::memset(ports, 0, static_cast<size_t>(*count) * sizeof *ports);
  std::memcpy(ports, found.data(), found.size() * sizeof *ports);
  *count = static_cast<int>(found.size());
  std::qsort(ports, found.size(), sizeof *ports, ComparePortNumbers);
  return 0;
}

int ComparePortNumbers(const void* a, const void* b) {
  return static_cast<int>(*static_cast<const std::uint16_t*>(a)) -
         static_cast<int>(*static_cast<const std::uint16_t*>(b));
}
