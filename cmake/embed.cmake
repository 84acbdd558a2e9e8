# Writes a C++ source that holds the bytes of INPUT as the picture SYMBOL in namespace pictures,
# and, when VECTOR names a file, that file's bytes as the picture's vector source.
# Run as: cmake -DINPUT=... [-DVECTOR=...] -DOUTPUT=... -DSYMBOL=... -P embed.cmake
function(byte_array file name out)
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
  set(${out} "const unsigned char ${name}[${size}] = {\n${bytes}\n};\n" PARENT_SCOPE)
endfunction()
byte_array("${INPUT}" kBytes arrays)
set(fields "kBytes, sizeof kBytes")
if(VECTOR)
  byte_array("${VECTOR}" kVector vector_array)
  string(APPEND arrays "${vector_array}")
  string(APPEND fields ", kVector, sizeof kVector")
endif()
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT}; do not edit.\n"
  "#include \"ui/design.h\"\n\n"
  "namespace {\n${arrays}}  // namespace\n\n"
  "namespace pictures {\nextern const ui::PictureData ${SYMBOL};\n"
  "const ui::PictureData ${SYMBOL}{${fields}};\n}  // namespace pictures\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
