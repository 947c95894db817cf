// A read-only registry with the shape of the classic API, and the version query.
//
// Only HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM exists. Its values are taken when the key
// is opened (a snapshot, so an enumeration sees a stable list while devices come and go): one
// REG_SZ per serial device of this machine that has a COM name, "\Device\ttyUSB0" = "COM33".
// A ttyS is listed only when a UART is behind it. Opened keys are ids that are never reused;
// a stale or unknown key fails with ERROR_INVALID_HANDLE.
#pragma once

#include <string>

#include "platform/core/serial.h"

struct HKEY__;  // opened keys are ids in the pointer, never objects
using HKEY = HKEY__*;
using LONG = std::int32_t;
using REGSAM = DWORD;
using CHAR = char;

namespace platform::registry_detail {
extern HKEY__ localMachine;  // an address no opened key can have
}
constexpr HKEY HKEY_LOCAL_MACHINE = &platform::registry_detail::localMachine;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_READ = 0x00020000 | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY;

constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_DWORD = 4;

constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_MORE_DATA = 234;
constexpr DWORD ERROR_NO_MORE_ITEMS = 259;

// Fails with ERROR_FILE_NOT_FOUND for any key but the one above (path case ignored); *phkResult
// is then null.
LONG RegOpenKeyExA(HKEY hKey, const char* lpSubKey, DWORD ulOptions, REGSAM samDesired,
                   HKEY* phkResult);

// Value dwIndex of the snapshot. In: *lpcchValueName is the name buffer in characters, *lpcbData
// the data buffer in bytes. Out on success: the name length without its zero, the data size
// (a REG_SZ counts its zero). When a buffer is too small: ERROR_MORE_DATA, nothing copied, both
// sizes set to what is needed (the name's including its zero). lpData null: only the size.
// Past the last value: ERROR_NO_MORE_ITEMS.
LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName,
                   DWORD* lpReserved, DWORD* lpType, BYTE* lpData, DWORD* lpcbData);

LONG RegCloseKey(HKEY hKey);

constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
  DWORD dwMajorVersion = 0;
  DWORD dwMinorVersion = 0;
  DWORD dwBuildNumber = 0;
  DWORD dwPlatformId = 0;
  CHAR szCSDVersion[128] = {};
};

// The running kernel's version ("6.1.0-18-amd64" gives 6, 1, 0) on the NT platform id.
// Fails (FALSE, ERROR_INSUFFICIENT_BUFFER) unless dwOSVersionInfoSize is sizeof(OSVERSIONINFOA).
BOOL GetVersionExA(OSVERSIONINFOA* lpVersionInformation);

namespace platform {

// Test seams, in-process. The sysfs root is "/sys" by default ("" restores it).
void SetRegistrySysfsRoot(const std::string& root);
// Leaves this machine's devices out of the key, for a deterministic list.
void SetRegistryRealDevicesHidden(bool hidden);
// Extra values listed after the devices, in insertion order. data holds the value's bytes;
// a REG_SZ gets its terminating zero appended.
void RegistryAddTestValue(const std::string& name, DWORD type, const std::string& data);
void RegistryClearTestValues();

}  // namespace platform
