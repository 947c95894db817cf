// The machine's COM port numbers, from the registry's serial-port key.
#pragma once

#include <cstdint>
#include <vector>

// Empties the list, then appends the number of every COM port listed. Returns 1 when the key
// cannot be opened, else RegCloseKey's result (0 on success).
int EnumSerialPorts(std::vector<std::uint16_t>& list);

// *count is the capacity of ports on entry and the number of ports on success. Returns 0 on
// success (sorted ascending, the rest of the array zero), 1 when the enumeration fails, finds
// no port or more than the capacity, 2 for a null argument or no capacity.
int GetSerialPortList(std::uint16_t* ports, int* count);

// For std::qsort over std::uint16_t: ascending.
int ComparePortNumbers(const void* a, const void* b);
