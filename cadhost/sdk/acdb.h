#pragma once
// Enumerations of the host database. The numeric values are those of drawing files.

#pragma GCC visibility push(default)

namespace AcDb {

enum OpenMode { kForRead = 0, kForWrite = 1, kForNotify = 2 };

// Horizontal justification of single-line text (DXF group 72).
enum TextHorzMode {
  kTextLeft = 0,
  kTextCenter = 1,
  kTextRight = 2,
  kTextAlign = 3,  // between position and alignment point, height follows
  kTextMid = 4,    // centred both ways on the alignment point
  kTextFit = 5,    // between position and alignment point, width factor follows
};

// Vertical justification of single-line text (DXF group 73).
enum TextVertMode { kTextBase = 0, kTextBottom = 1, kTextVertMid = 2, kTextTop = 3 };

// Lineweights in hundredths of a millimetre, and the inherited ones.
enum LineWeight {
  kLnWt000 = 0, kLnWt005 = 5, kLnWt009 = 9, kLnWt013 = 13, kLnWt015 = 15, kLnWt018 = 18,
  kLnWt020 = 20, kLnWt025 = 25, kLnWt030 = 30, kLnWt035 = 35, kLnWt040 = 40, kLnWt050 = 50,
  kLnWt053 = 53, kLnWt060 = 60, kLnWt070 = 70, kLnWt080 = 80, kLnWt090 = 90, kLnWt100 = 100,
  kLnWt106 = 106, kLnWt120 = 120, kLnWt140 = 140, kLnWt158 = 158, kLnWt200 = 200,
  kLnWt211 = 211,
  kLnWtByLayer = -1,
  kLnWtByBlock = -2,
  kLnWtByLwDefault = -3,
};

// Drawing units ($INSUNITS).
enum UnitsValue {
  kUnitsUndefined = 0, kUnitsInches = 1, kUnitsFeet = 2, kUnitsMiles = 3,
  kUnitsMillimeters = 4, kUnitsCentimeters = 5, kUnitsMeters = 6,
};

}  // namespace AcDb

#pragma GCC visibility pop
