# Writes a C++ source holding the given files as byte arrays behind the functions of assets/embedded.h.
# usage: cmake -DOUT=file.cpp -DPHOTOGRAPH=... -DWORDMARK=... -DBANNER=... -P embed.cmake
set(body "// Generated from the files in assets/; do not edit.\n#include \"assets/embedded.h\"\n\nnamespace assets {\n")
foreach(name PHOTOGRAPH WORDMARK BANNER)
  file(READ "${${name}}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
  string(TOLOWER "${name}" lower)
  set(body "${body}\nnamespace {\nconst std::uint8_t k_${lower}[] = {\n${bytes}\n};\n}  // namespace\n")
endforeach()
set(body "${body}
std::span<const std::uint8_t> Photograph() { return k_photograph; }
std::span<const std::uint8_t> Wordmark() { return k_wordmark; }
std::span<const std::uint8_t> Banner() { return k_banner; }

}  // namespace assets
")
file(WRITE "${OUT}.tmp" "${body}")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
