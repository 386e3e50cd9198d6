# Writes OUTPUT, a C++ source that defines the text of INPUT as the
# character array NAME (declared in HEADER). Run at build time, so the
# tool always carries the file as it stands.
file(READ "${INPUT}" text)
get_filename_component(source_name "${INPUT}" NAME)
file(WRITE "${OUTPUT}"
  "// Made from ${source_name} by embed_text.cmake at build time.\n"
  "#include \"${HEADER}\"\n"
  "const char ${NAME}[] = R\"embedded(${text})embedded\";\n")
