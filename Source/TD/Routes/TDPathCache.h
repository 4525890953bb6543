#pragma once

#include "Core/Base/Result.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class TDLink;
class TDPathTable;

// Precomputed lane tables of a level ("td/levels_<mode>/level_EE_LL.cache"), little-endian, no header:
//   u32 record count; per record: i32 link index (into the level's link list), u32 pair count,
//   pairs (i32 key, f32 value), u32 lane count, lanes (i32 lane key, u32 sample count,
//   samples (u32 reserved, f32 normal x, f32 normal y, f32 x, f32 y)).

// Parses the bytes against the level's links and appends their records to table. Every count is checked
// against the bytes left, every index against the links, every value for sanity; a lane needs two samples
// and nothing may follow the last record. On any fault the table is left as it was, error says what was
// wrong, and VN_FAIL is returned.
VNResultEnum readPathCache(const unsigned char* data, std::size_t size,
                           const std::vector<std::unique_ptr<TDLink>>& links, TDPathTable& table,
                           std::wstring& error);
