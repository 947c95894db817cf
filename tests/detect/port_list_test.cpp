// The port list from the registry's serial-port key: which values count, codes, order.
#include "detect/port_list.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/core/registry.h"

namespace {

namespace fs = std::filesystem;

struct Value {
  std::string name;
  DWORD type;
  std::string data;
};

const std::string kDword("\x05\x00\x00\x00", 4);

class PortListTest : public testing::Test {
 protected:
  void SetUp() override {
    platform::SetRegistryRealDevicesHidden(true);
    platform::RegistryClearTestValues();
  }
  void TearDown() override {
    platform::SetRegistryRealDevicesHidden(false);
    platform::RegistryClearTestValues();
    platform::SetRegistrySysfsRoot("");
  }

  static void Load(const std::vector<Value>& values) {
    platform::RegistryClearTestValues();
    for (const Value& v : values) platform::RegistryAddTestValue(v.name, v.type, v.data);
  }
};

TEST_F(PortListTest, WhichValuesBecomePorts) {
  struct Case {
    const char* what;
    std::vector<Value> values;
    int rc;
    std::vector<std::uint16_t> sorted;
  };
  const std::string longDigits = std::string(507, '0') + "9";  // "COM" + these + zero = 512 bytes
  const Case cases[] = {
      {"sorted ascending",
       {{"\\Device\\Serial0", REG_SZ, "COM12"}, {"\\Device\\Serial1", REG_SZ, "COM1"}},
       0,
       {1, 12}},
      {"COM3A and a parallel port left out",
       {{"\\Device\\Serial0", REG_SZ, "COM3A"},
        {"\\Device\\Parallel0", REG_SZ, "LPT1"},
        {"\\Device\\Serial1", REG_SZ, "COM2"}},
       0,
       {2}},
      {"COM alone is port 0", {{"\\Device\\Serial0", REG_SZ, "COM"}}, 0, {0}},
      {"name without the prefix left out",
       {{"Serial0", REG_SZ, "COM4"},
        {"COM4", REG_SZ, "COM4"},
        {"\\Devic", REG_SZ, "COM4"},
        {"\\Device\\Serial1", REG_SZ, "COM5"}},
       0,
       {5}},
      {"REG_DWORD left out",
       {{"\\Device\\Serial0", REG_DWORD, kDword}, {"\\Device\\Serial1", REG_SZ, "COM6"}},
       0,
       {6}},
      {"prefix and data case ignored",
       {{"\\DEVICE\\Serial0", REG_SZ, "com7"}, {"\\device\\Serial1", REG_SZ, "Com8"}},
       0,
       {7, 8}},
      {"too short, empty, spaced, signed",
       {{"\\Device\\a", REG_SZ, "CO"},
        {"\\Device\\b", REG_SZ, ""},
        {"\\Device\\c", REG_SZ, "COM 1"},
        {"\\Device\\d", REG_SZ, "COM-1"},
        {"\\Device\\e", REG_SZ, " COM1"},
        {"\\Device\\f", REG_SZ, "COM9"}},
       0,
       {9}},
      {"leading zeros", {{"\\Device\\a", REG_SZ, "COM007"}}, 0, {7}},
      {"numbers past 65535 left out, not wrapped",
       {{"\\Device\\a", REG_SZ, "COM65536"},
        {"\\Device\\b", REG_SZ, "COM65537"},
        {"\\Device\\c", REG_SZ, "COM99999999999999999999"},
        {"\\Device\\d", REG_SZ, "COM65535"}},
       0,
       {65535}},
      {"data ends at its zero", {{"\\Device\\a", REG_SZ, std::string("COM4\0X", 6)}}, 0, {4}},
      {"data filling the whole buffer", {{"\\Device\\a", REG_SZ, "COM" + longDigits}}, 0, {9}},
      {"duplicates kept",
       {{"\\Device\\a", REG_SZ, "COM3"}, {"\\Device\\b", REG_SZ, "COM3"}},
       0,
       {3, 3}},
      {"nothing matching", {{"\\Device\\a", REG_SZ, "LPT1"}, {"Serial", REG_SZ, "COM1"}}, 1, {}},
      {"empty key", {}, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Load(c.values);
    std::uint16_t ports[16];
    std::fill(std::begin(ports), std::end(ports), std::uint16_t{0xBEEF});
    int count = 16;
    ASSERT_EQ(GetSerialPortList(ports, &count), c.rc);
    if (c.rc != 0) {
      EXPECT_EQ(count, 16);
      continue;
    }
    ASSERT_EQ(count, static_cast<int>(c.sorted.size()));
    EXPECT_EQ(std::vector<std::uint16_t>(ports, ports + count), c.sorted);
    for (int i = count; i < 16; ++i) EXPECT_EQ(ports[i], 0) << "slot " << i;
  }
}

TEST_F(PortListTest, EnumerationKeepsRegistryOrderAndEmptiesTheList) {
  Load({{"\\Device\\a", REG_SZ, "COM12"},
        {"\\Device\\b", REG_SZ, "COM1"},
        {"\\Device\\c", REG_SZ, "COM5"}});
  std::vector<std::uint16_t> list = {77, 88};
  EXPECT_EQ(EnumSerialPorts(list), 0);
  EXPECT_EQ(list, (std::vector<std::uint16_t>{12, 1, 5}));

  Load({});
  EXPECT_EQ(EnumSerialPorts(list), 0);
  EXPECT_TRUE(list.empty());
}

// A value the 512-byte buffers cannot hold ends the enumeration, like any failing call.
TEST_F(PortListTest, OversizedValueEndsEnumeration) {
  Load({{"\\Device\\a", REG_SZ, "COM2"},
        {"\\Device\\b", REG_SZ, "COM" + std::string(509, '1')},
        {"\\Device\\c", REG_SZ, "COM3"}});
  std::vector<std::uint16_t> list;
  EXPECT_EQ(EnumSerialPorts(list), 0);
  EXPECT_EQ(list, (std::vector<std::uint16_t>{2}));

  Load({{"\\Device\\" + std::string(503, 'n'), REG_SZ, "COM4"},  // 511 chars: fits
        {"\\Device\\" + std::string(504, 'n'), REG_SZ, "COM5"},  // 512 chars: does not
        {"\\Device\\c", REG_SZ, "COM6"}});
  EXPECT_EQ(EnumSerialPorts(list), 0);
  EXPECT_EQ(list, (std::vector<std::uint16_t>{4}));
}

TEST_F(PortListTest, CapacityLimits) {
  struct Case {
    int values;
    int capacity;
    int rc;
  };
  const Case cases[] = {
      {300, 256, 1}, {257, 256, 1}, {256, 256, 0}, {3, 3, 0}, {4, 3, 1}, {1, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.values << " values, capacity " << c.capacity);
    std::vector<Value> values;
    // descending, so that sorting has work to do
    for (int i = 0; i < c.values; ++i) {
      values.push_back(
          {"\\Device\\Serial" + std::to_string(i), REG_SZ, "COM" + std::to_string(1000 - i)});
    }
    Load(values);
    std::vector<std::uint16_t> ports(static_cast<size_t>(c.capacity) + 1, 0xBEEF);
    int count = c.capacity;
    ASSERT_EQ(GetSerialPortList(ports.data(), &count), c.rc);
    if (c.rc != 0) {
      EXPECT_EQ(count, c.capacity);
      EXPECT_EQ(ports[0], 0xBEEF);  // untouched
      continue;
    }
    ASSERT_EQ(count, c.values);
    for (int i = 0; i < count; ++i) {
      EXPECT_EQ(ports[i], 1000 - c.values + 1 + i) << "slot " << i;
    }
    EXPECT_EQ(ports[c.capacity], 0xBEEF) << "written past the capacity";
  }
}

TEST_F(PortListTest, BadArgumentsGiveTwo) {
  Load({{"\\Device\\a", REG_SZ, "COM1"}});
  std::uint16_t ports[4] = {9, 9, 9, 9};
  int count = 4;
  EXPECT_EQ(GetSerialPortList(nullptr, &count), 2);
  EXPECT_EQ(GetSerialPortList(ports, nullptr), 2);
  EXPECT_EQ(GetSerialPortList(nullptr, nullptr), 2);
  for (int capacity : {0, -1, -256}) {
    count = capacity;
    EXPECT_EQ(GetSerialPortList(ports, &count), 2) << capacity;
    EXPECT_EQ(count, capacity);
  }
  EXPECT_EQ(ports[0], 9);
}

TEST(ComparePortNumbers, DifferenceOfTheValues) {
  struct Case {
    std::uint16_t a, b;
    int diff;
  };
  const Case cases[] = {
      {1, 12, -11}, {12, 1, 11}, {5, 5, 0}, {0, 65535, -65535}, {65535, 0, 65535}};
  for (const Case& c : cases) {
    EXPECT_EQ(ComparePortNumbers(&c.a, &c.b), c.diff) << c.a << " vs " << c.b;
  }
}

// The whole path: devices in a sysfs tree, through the key, to the sorted list.
TEST_F(PortListTest, ListsDevicesOfTheMachine) {
  std::string pattern = (fs::temp_directory_path() / "korvane-ports-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  const fs::path root = pattern;
  for (const char* tty : {"ttyUSB1", "ttyS0", "ttyS1", "ttyACM2", "tty5", "ttyUSB40"}) {
    fs::create_directories(root / "class" / "tty" / tty);
  }
  std::ofstream(root / "class" / "tty" / "ttyS0" / "type") << "4\n";
  std::ofstream(root / "class" / "tty" / "ttyS1" / "type") << "0\n";
  platform::SetRegistrySysfsRoot(root.string());
  platform::SetRegistryRealDevicesHidden(false);
  platform::RegistryAddTestValue("\\Device\\Extra", REG_SZ, "COM20");

  std::uint16_t ports[256];
  int count = 256;
  const int rc = GetSerialPortList(ports, &count);
  std::error_code ec;
  fs::remove_all(root, ec);
  ASSERT_EQ(rc, 0);
  EXPECT_EQ(std::vector<std::uint16_t>(ports, ports + count),
            (std::vector<std::uint16_t>{1, 20, 34, 67}));
}

}  // namespace
