# Writes OUTPUT, a C++ source that defines the bytes of INPUT as the array
# NAME and its length as NAME_SIZE (declared in HEADER). Run at build time,
# so the program carries the file as it was last built.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "(..)" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n  " bytes "${bytes}")
get_filename_component(source_name "${INPUT}" NAME)
file(WRITE "${OUTPUT}"
  "// Made from ${source_name} by embed_bytes.cmake at build time.\n"
  "#include \"${HEADER}\"\n"
  "const unsigned char ${NAME}[] = {\n  ${bytes}\n};\n"
  "const unsigned long ${NAME}_SIZE = ${size};\n")
