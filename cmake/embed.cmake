# Writes a C++ source that holds the bytes of INPUT as the picture SYMBOL in namespace pictures.
# Run as: cmake -DINPUT=... -DOUTPUT=... -DSYMBOL=... -P embed.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT}; do not edit.\n"
  "#include \"ui/design.h\"\n\n"
  "namespace {\nconst unsigned char kBytes[${size}] = {\n${bytes}\n};\n}  // namespace\n\n"
  "namespace pictures {\nextern const ui::PictureData ${SYMBOL};\n"
  "const ui::PictureData ${SYMBOL}{kBytes, sizeof kBytes};\n}  // namespace pictures\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
