// The serial-port key over a fake sysfs tree, the value enumeration contract, the version query.
#include "platform/core/registry.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/utsname.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Entry {
  std::string name;
  DWORD type;
  std::string data;
  bool operator==(const Entry&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Entry& e) {
  return os << e.name << " (" << e.type << ") = " << testing::PrintToString(e.data);
}

// Every value of a freshly opened key, read with ample buffers.
std::vector<Entry> ReadKey() {
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key),
            static_cast<LONG>(ERROR_SUCCESS));
  std::vector<Entry> out;
  for (DWORD i = 0;; ++i) {
    char name[512];
    BYTE data[512];
    DWORD nameLength = sizeof name, dataSize = sizeof data, type = 0;
    const LONG rc = RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data, &dataSize);
    if (rc != static_cast<LONG>(ERROR_SUCCESS)) {
      EXPECT_EQ(rc, static_cast<LONG>(ERROR_NO_MORE_ITEMS));
      break;
    }
    out.push_back({std::string(name, nameLength), type,
                   std::string(reinterpret_cast<char*>(data), dataSize)});
  }
  EXPECT_EQ(RegCloseKey(key), static_cast<LONG>(ERROR_SUCCESS));
  return out;
}

std::string Sz(const std::string& text) {
  return text + '\0';
}

class FakeSysfs {
 public:
  FakeSysfs() {
    std::string pattern = (fs::temp_directory_path() / "korvane-sysfs-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) root_ = pattern;
  }
  ~FakeSysfs() {
    std::error_code ec;
    if (!root_.empty()) fs::remove_all(root_, ec);
  }
  FakeSysfs(const FakeSysfs&) = delete;
  FakeSysfs& operator=(const FakeSysfs&) = delete;

  const fs::path& root() const { return root_; }
  // A tty class entry; a type file only when type is given.
  void AddTty(const std::string& name, const char* type = nullptr) const {
    const fs::path dir = root_ / "class" / "tty" / name;
    fs::create_directories(dir);
    if (type != nullptr) std::ofstream(dir / "type") << type;
  }

 private:
  fs::path root_;
};

class RegistryTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(sysfs_.root().empty());
    platform::SetRegistrySysfsRoot(sysfs_.root().string());
    platform::SetRegistryRealDevicesHidden(false);
    platform::RegistryClearTestValues();
  }
  void TearDown() override {
    platform::SetRegistrySysfsRoot("");
    platform::RegistryClearTestValues();
  }

  FakeSysfs sysfs_;
};

TEST_F(RegistryTest, ListsDevicesWithComNamesAndRealUarts) {
  sysfs_.AddTty("ttyS0", "4\n");  // 16550A
  sysfs_.AddTty("ttyS1", "0\n");  // PORT_UNKNOWN: no UART
  sysfs_.AddTty("ttyS2");         // no type: nothing known about it
  sysfs_.AddTty("ttyS5", "junk\n");
  sysfs_.AddTty("ttyS31", "1\n");
  sysfs_.AddTty("ttyS32", "4\n");  // past COM32
  sysfs_.AddTty("ttyUSB3");
  sysfs_.AddTty("ttyUSB32");
  sysfs_.AddTty("ttyACM0");
  sysfs_.AddTty("ttyACM31");
  sysfs_.AddTty("rfcomm1");
  sysfs_.AddTty("rfcomm4");
  sysfs_.AddTty("ttyUSB01");  // not the node COM34 opens
  sysfs_.AddTty("ttyUSBx");
  sysfs_.AddTty("ttyUSB");
  sysfs_.AddTty("tty0");
  sysfs_.AddTty("ttyAMA0");
  sysfs_.AddTty("console");
  sysfs_.AddTty("ptmx");

  const std::vector<Entry> expected = {
      {"\\Device\\ttyS0", REG_SZ, Sz("COM1")},     {"\\Device\\ttyS31", REG_SZ, Sz("COM32")},
      {"\\Device\\ttyUSB3", REG_SZ, Sz("COM36")},  {"\\Device\\ttyACM0", REG_SZ, Sz("COM65")},
      {"\\Device\\ttyACM31", REG_SZ, Sz("COM96")}, {"\\Device\\rfcomm1", REG_SZ, Sz("COM98")},
  };
  EXPECT_EQ(ReadKey(), expected);
}

TEST_F(RegistryTest, TestValuesFollowDevicesInInsertionOrder) {
  sysfs_.AddTty("ttyACM0");
  const std::string dword("\x07\x00\x00\x00", 4);
  platform::RegistryAddTestValue("\\Device\\Zeta", REG_SZ, "COM9");
  platform::RegistryAddTestValue("Alpha", REG_DWORD, dword);
  platform::RegistryAddTestValue("\\Device\\Mid", REG_SZ, "LPT1");

  std::vector<Entry> expected = {{"\\Device\\ttyACM0", REG_SZ, Sz("COM65")},
                                 {"\\Device\\Zeta", REG_SZ, Sz("COM9")},
                                 {"Alpha", REG_DWORD, dword},
                                 {"\\Device\\Mid", REG_SZ, Sz("LPT1")}};
  EXPECT_EQ(ReadKey(), expected);

  platform::SetRegistryRealDevicesHidden(true);
  expected.erase(expected.begin());
  EXPECT_EQ(ReadKey(), expected);
  platform::SetRegistryRealDevicesHidden(false);

  platform::RegistryClearTestValues();
  EXPECT_EQ(ReadKey(), (std::vector<Entry>{{"\\Device\\ttyACM0", REG_SZ, Sz("COM65")}}));
}

TEST_F(RegistryTest, MissingTtyClassGivesAnEmptyKey) {
  platform::SetRegistrySysfsRoot((sysfs_.root() / "nowhere").string());
  EXPECT_TRUE(ReadKey().empty());
}

TEST_F(RegistryTest, OpenKeyIsASnapshot) {
  sysfs_.AddTty("ttyUSB0");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key),
            static_cast<LONG>(ERROR_SUCCESS));
  sysfs_.AddTty("ttyUSB1");
  platform::RegistryAddTestValue("\\Device\\Late", REG_SZ, "COM5");

  char name[64];
  DWORD nameLength = sizeof name;
  EXPECT_EQ(RegEnumValueA(key, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr),
            static_cast<LONG>(ERROR_SUCCESS));
  EXPECT_EQ(std::string(name, nameLength), "\\Device\\ttyUSB0");
  nameLength = sizeof name;
  EXPECT_EQ(RegEnumValueA(key, 1, name, &nameLength, nullptr, nullptr, nullptr, nullptr),
            static_cast<LONG>(ERROR_NO_MORE_ITEMS));
  EXPECT_EQ(RegCloseKey(key), static_cast<LONG>(ERROR_SUCCESS));

  EXPECT_EQ(ReadKey().size(), 3u);
}

TEST_F(RegistryTest, EnumValueBufferSizes) {
  platform::SetRegistryRealDevicesHidden(true);
  platform::RegistryAddTestValue("\\Device\\ttyS0", REG_SZ, "COM1");  // 13 chars, 5 bytes
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key),
            static_cast<LONG>(ERROR_SUCCESS));

  struct Case {
    DWORD nameBuffer;
    DWORD dataBuffer;
    bool withData;
    DWORD rc;
    DWORD nameOut;
    DWORD dataOut;
  };
  const Case cases[] = {
      {14, 5, true, ERROR_SUCCESS, 13, 5},     // exact fit, zeros included
      {100, 100, true, ERROR_SUCCESS, 13, 5},  // ample
      {13, 5, true, ERROR_MORE_DATA, 14, 5},   // no room for the name's zero
      {0, 5, true, ERROR_MORE_DATA, 14, 5},
      {14, 4, true, ERROR_MORE_DATA, 14, 5},  // no room for the data's zero
      {14, 0, true, ERROR_MORE_DATA, 14, 5},
      {14, 0, false, ERROR_SUCCESS, 13, 5},  // no data buffer: size only
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "name " << c.nameBuffer << ", data " << c.dataBuffer
                                    << (c.withData ? "" : " (null)"));
    char name[128];
    BYTE data[128];
    std::memset(name, '#', sizeof name);
    std::memset(data, '#', sizeof data);
    DWORD nameLength = c.nameBuffer, dataSize = c.dataBuffer, type = 99;
    const LONG rc = RegEnumValueA(key, 0, name, &nameLength, nullptr, &type,
                                  c.withData ? data : nullptr, &dataSize);
    EXPECT_EQ(rc, static_cast<LONG>(c.rc));
    EXPECT_EQ(nameLength, c.nameOut);
    EXPECT_EQ(dataSize, c.dataOut);
    EXPECT_EQ(type, REG_SZ);
    if (c.rc == ERROR_SUCCESS) {
      EXPECT_EQ(std::string(name, nameLength + 1), Sz("\\Device\\ttyS0"));
      if (c.withData) {
        EXPECT_EQ(std::string(reinterpret_cast<char*>(data), 5), Sz("COM1"));
      }
    } else {
      // nothing written past a buffer it did not fit, nor into it
      EXPECT_EQ(name[0], '#');
      EXPECT_EQ(data[0], '#');
    }
    if (!c.withData) {
      EXPECT_EQ(data[0], '#');
    }
  }

  char name[64];
  BYTE data[64];
  DWORD nameLength = sizeof name, dataSize = sizeof data, type = 0;
  EXPECT_EQ(RegEnumValueA(key, 1, name, &nameLength, nullptr, &type, data, &dataSize),
            static_cast<LONG>(ERROR_NO_MORE_ITEMS));
  EXPECT_EQ(RegEnumValueA(key, 0xFFFFFFFFu, name, &nameLength, nullptr, &type, data, &dataSize),
            static_cast<LONG>(ERROR_NO_MORE_ITEMS));
  DWORD reserved = 0;
  EXPECT_EQ(RegEnumValueA(key, 0, name, &nameLength, &reserved, &type, data, &dataSize),
            static_cast<LONG>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(RegEnumValueA(key, 0, nullptr, &nameLength, nullptr, &type, data, &dataSize),
            static_cast<LONG>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(RegEnumValueA(key, 0, name, nullptr, nullptr, &type, data, &dataSize),
            static_cast<LONG>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(RegEnumValueA(key, 0, name, &nameLength, nullptr, &type, data, nullptr),
            static_cast<LONG>(ERROR_INVALID_PARAMETER));

  EXPECT_EQ(RegCloseKey(key), static_cast<LONG>(ERROR_SUCCESS));
  // a closed key is gone for good
  nameLength = sizeof name;
  dataSize = sizeof data;
  EXPECT_EQ(RegEnumValueA(key, 0, name, &nameLength, nullptr, &type, data, &dataSize),
            static_cast<LONG>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(RegCloseKey(key), static_cast<LONG>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(
      RegEnumValueA(HKEY_LOCAL_MACHINE, 0, name, &nameLength, nullptr, &type, data, &dataSize),
      static_cast<LONG>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(RegEnumValueA(nullptr, 0, name, &nameLength, nullptr, &type, data, &dataSize),
            static_cast<LONG>(ERROR_INVALID_HANDLE));
}

TEST_F(RegistryTest, BinaryAndLongValuesComeBackWhole) {
  platform::SetRegistryRealDevicesHidden(true);
  const std::string binary("\x00\x01\xff\x00", 4);
  const std::string longName(400, 'n');
  platform::RegistryAddTestValue("bin", 3, binary);
  platform::RegistryAddTestValue(longName, REG_SZ, std::string(300, 'd'));
  const std::vector<Entry> expected = {{"bin", 3, binary},
                                       {longName, REG_SZ, Sz(std::string(300, 'd'))}};
  EXPECT_EQ(ReadKey(), expected);
}

TEST_F(RegistryTest, OnlyTheSerialCommKeyOpens) {
  struct Case {
    HKEY root;
    const char* path;
    DWORD rc;
  };
  const Case cases[] = {
      {HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", ERROR_SUCCESS},
      {HKEY_LOCAL_MACHINE, "hardware\\devicemap\\serialcomm", ERROR_SUCCESS},
      {HKEY_LOCAL_MACHINE, "Hardware\\DeviceMap\\SerialComm", ERROR_SUCCESS},
      {HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP", ERROR_FILE_NOT_FOUND},
      {HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM\\X", ERROR_FILE_NOT_FOUND},
      {HKEY_LOCAL_MACHINE, "HARDWARE/DEVICEMAP/SERIALCOMM", ERROR_FILE_NOT_FOUND},
      {HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOM", ERROR_FILE_NOT_FOUND},
      {HKEY_LOCAL_MACHINE, "SOFTWARE\\DEVICEMAP\\SERIALCOMM", ERROR_FILE_NOT_FOUND},
      {HKEY_LOCAL_MACHINE, "", ERROR_FILE_NOT_FOUND},
      {HKEY_LOCAL_MACHINE, nullptr, ERROR_FILE_NOT_FOUND},
      {nullptr, "HARDWARE\\DEVICEMAP\\SERIALCOMM", ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path ? c.path : "(null)");
    HKEY key = reinterpret_cast<HKEY>(std::uintptr_t{0x1234});
    EXPECT_EQ(RegOpenKeyExA(c.root, c.path, 0, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, &key),
              static_cast<LONG>(c.rc));
    if (c.rc == ERROR_SUCCESS) {
      EXPECT_NE(key, nullptr);
      EXPECT_EQ(RegCloseKey(key), static_cast<LONG>(ERROR_SUCCESS));
    } else {
      EXPECT_EQ(key, nullptr);
    }
  }
  EXPECT_EQ(
      RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, nullptr),
      static_cast<LONG>(ERROR_INVALID_PARAMETER));
}

TEST_F(RegistryTest, KeysAreDistinctAndNeverReused) {
  std::vector<HKEY> seen;
  for (int i = 0; i < 5; ++i) {
    HKEY a = nullptr, b = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &a),
              static_cast<LONG>(ERROR_SUCCESS));
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &b),
              static_cast<LONG>(ERROR_SUCCESS));
    for (HKEY old : seen) {
      EXPECT_NE(a, old);
      EXPECT_NE(b, old);
    }
    EXPECT_NE(a, b);
    EXPECT_NE(a, HKEY_LOCAL_MACHINE);
    seen.push_back(a);
    seen.push_back(b);
    EXPECT_EQ(RegCloseKey(a), static_cast<LONG>(ERROR_SUCCESS));
    EXPECT_EQ(RegCloseKey(b), static_cast<LONG>(ERROR_SUCCESS));
  }
}

TEST_F(RegistryTest, ConcurrentReadersSeeWholeSnapshots) {
  sysfs_.AddTty("ttyUSB0");
  sysfs_.AddTty("ttyS3", "4");
  for (int i = 0; i < 20; ++i) {
    platform::RegistryAddTestValue("\\Device\\t" + std::to_string(i), REG_SZ,
                                   "COM" + std::to_string(200 + i));
  }
  const std::vector<Entry> expected = ReadKey();
  ASSERT_EQ(expected.size(), 22u);

  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 50; ++i) {
        if (ReadKey() != expected) ++mismatches;
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(mismatches.load(), 0);
}

TEST(VersionTest, ReportsKernelVersionOnTheNtPlatform) {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionExA(&info));
  EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
  EXPECT_EQ(info.szCSDVersion[0], '\0');

  utsname uts{};
  ASSERT_EQ(::uname(&uts), 0);
  unsigned major = 0, minor = 0, build = 0;
  const int got = std::sscanf(uts.release, "%u.%u.%u", &major, &minor, &build);
  ASSERT_GE(got, 2) << uts.release;
  EXPECT_EQ(info.dwMajorVersion, major);
  EXPECT_EQ(info.dwMinorVersion, minor);
  if (got == 3) {
    EXPECT_EQ(info.dwBuildNumber, build);
  }
  EXPECT_GT(info.dwMajorVersion, 0u);
}

TEST(VersionTest, WrongStructureSizeFails) {
  for (DWORD size : {DWORD{0}, DWORD{sizeof(OSVERSIONINFOA) - 1}, DWORD{sizeof(OSVERSIONINFOA) + 1},
                     DWORD{sizeof(OSVERSIONINFOA) + 8}, DWORD{0xFFFFFFFFu}}) {
    SCOPED_TRACE(size);
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = size;
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(GetVersionExA(&info));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(info.dwPlatformId, 0u);  // left alone
    EXPECT_EQ(info.dwMajorVersion, 0u);
  }
  SetLastError(ERROR_SUCCESS);
  EXPECT_FALSE(GetVersionExA(nullptr));
  EXPECT_NE(GetLastError(), ERROR_SUCCESS);
}

}  // namespace
