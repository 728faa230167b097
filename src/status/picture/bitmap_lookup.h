// Finding the tables and status records of the status picture.
#pragma once

#include <cstdint>

#include "status/picture/bitmap_tables.h"

namespace tb58::status {

// The table of a device (kMainBodyDevice for the main body), or null.
const StatusBitmapRecord* FindDeviceBitmapTable(int16_t device);

// True when the code's key text equals the key of a record of any table,
// whether or not its device is installed.
bool StatusKeyExists(uint32_t code);

// The first record of table whose key equals the code (wildcard false) or
// covers it (wildcard true, status_key.h); else the table's last default
// record; null when there is neither, or for a null or empty table.
const StatusBitmapRecord* FindStatusBitmapRecord(const StatusBitmapRecord* table, uint32_t code, bool wildcard);

}  // namespace tb58::status
