# Script mode: writes OUT, a C++ source holding the bytes of IN as kEmbedded_<ID>.
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR size "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUT}"
"#include <cstddef>\n"
"extern const unsigned char kEmbedded_${ID}[];\n"
"extern const std::size_t kEmbedded_${ID}_size;\n"
"const unsigned char kEmbedded_${ID}[] = {\n${bytes}0x00};\n"
"const std::size_t kEmbedded_${ID}_size = ${size};\n")
