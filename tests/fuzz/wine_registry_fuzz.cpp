// Fuzzes the reader of Wine's registry files, which the Linux launcher reads from the user's Wine
// prefix: any text gives a key's values or nothing, never a read outside the text (the sanitizers
// watch), and every string value ends in its NUL.
#include <cstdlib>
#include <string_view>

#include "platform/wine/registry_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(bytes), size);
  // Half the inputs get the header, so the fuzzer reaches the keys and values beneath it.
  std::string withHeader;
  if (size && bytes[0] & 1) {
    withHeader = "WINE REGISTRY Version 2\n#arch=win64\n[Software\\\\Wow6432Node\\\\Orun\\\\Vantrel\\\\AppInfo] 1\n";
    withHeader.append(text.substr(1));
    text = withHeader;
  }
  if (const auto values = platform::wine::FindKey(text, "Software\\Orun\\Vantrel\\AppInfo"))
    for (const auto& [name, value] : *values)
      if ((value.type == 1 || value.type == 2) && (value.data.empty() || value.data.back() != 0)) std::abort();
  return 0;
}
