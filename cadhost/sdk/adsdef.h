#pragma once
// Value types of the host's command-line interface: reals, points, entity and selection-set
// names, and result buffers for system variables.

#include <cstdint>

#include "cadhost/sdk/adesk.h"
#include "cadhost/sdk/adscodes.h"

#pragma GCC visibility push(default)

using ads_real = double;
using ads_point = ads_real[3];
using ads_matrix = ads_real[4][4];
// An entity or selection-set name: a light handle, valid until the entity's database closes
// (entities) or acedSSFree (sets). Two words; a null name has both zero.
using ads_name = std::int64_t[2];

enum { X = 0, Y = 1, Z = 2, T = 3 };

inline bool ads_name_nil(const ads_name n) { return n[0] == 0 && n[1] == 0; }
inline void ads_name_clear(ads_name n) { n[0] = n[1] = 0; }
inline void ads_name_set(const ads_name from, ads_name to) {
  to[0] = from[0];
  to[1] = from[1];
}
inline bool ads_name_equal(const ads_name a, const ads_name b) {
  return a[0] == b[0] && a[1] == b[1];
}
inline void ads_point_set(const ads_point from, ads_point to) {
  to[X] = from[X];
  to[Y] = from[Y];
  to[Z] = from[Z];
}

// Result-buffer value kinds (restype).
constexpr short RTREAL = 5001;
constexpr short RTPOINT = 5002;  // 2D point
constexpr short RTSHORT = 5003;
constexpr short RTANG = 5004;
constexpr short RTSTR = 5005;
constexpr short RTENAME = 5006;
constexpr short RTPICKS = 5007;
constexpr short RTORINT = 5008;
constexpr short RT3DPOINT = 5009;
constexpr short RTLONG = 5010;

union ads_u_val {
  ads_real rreal;
  ads_real rpoint[3];
  short rint;
  ACHAR* rstring;  // owned by the buffer: allocated with malloc, freed by acutRelRb
  std::int64_t rlname[2];
  std::int32_t rlong;
};

// One value of a result-buffer list.
struct resbuf {
  resbuf* rbnext;
  short restype;
  ads_u_val resval;
};

#pragma GCC visibility pop
