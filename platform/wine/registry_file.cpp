// Reads keys from a Wine registry file: its header, key lines, and value lines in Wine's own
// notation (quoted strings with escapes, str(N):, dword:, hex: and hex(N): with wrapped lines).
#include "platform/wine/registry_file.h"

namespace platform::wine {

namespace {

// ASCII case folding, as Wine compares these names, whatever the locale: in a Turkish one the C
// library's tolower leaves 'I' as it is.
std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

void AppendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted text starting at text[at] == '"' with Wine's escapes; the characters are UTF-16
// units written as ASCII or escapes, given back as UTF-8. Moves `at` past the closing quote.
std::optional<std::string> Quoted(std::string_view text, std::size_t& at) {
  if (at >= text.size() || text[at] != '"') return std::nullopt;
  std::string out;
  for (++at; at < text.size(); ++at) {
    char c = text[at];
    if (c == '"') {
      ++at;
      return out;
    }
    if (c != '\\') {
      out += c;  // the file is ASCII; anything else is taken as it is
      continue;
    }
    if (++at >= text.size()) return std::nullopt;
    c = text[at];
    std::uint32_t unit = 0;
    switch (c) {
      case 'a': unit = 7; break;
      case 'b': unit = 8; break;
      case 'e': unit = 27; break;
      case 'f': unit = 12; break;
      case 'n': unit = 10; break;
      case 'r': unit = 13; break;
      case 't': unit = 9; break;
      case 'v': unit = 11; break;
      case 'x': {
        int digits = 0;
        while (digits < 4 && at + 1 < text.size() && HexDigit(text[at + 1]) >= 0) {
          unit = unit * 16 + static_cast<std::uint32_t>(HexDigit(text[++at]));
          ++digits;
        }
        if (digits == 0) return std::nullopt;
        break;
      }
      default:
        if (c >= '0' && c <= '7') {
          unit = static_cast<std::uint32_t>(c - '0');
          for (int digits = 1; digits < 3 && at + 1 < text.size() && text[at + 1] >= '0' && text[at + 1] <= '7'; ++digits)
            unit = unit * 8 + static_cast<std::uint32_t>(text[++at] - '0');
        } else {
          unit = static_cast<unsigned char>(c);
        }
        break;
    }
    AppendUtf8(out, unit);
  }
  return std::nullopt;  // no closing quote
}

// UTF-16LE bytes, as hex(1), hex(2) and hex(7) store strings, as UTF-8.
std::vector<std::uint8_t> Utf16ToUtf8(const std::vector<std::uint8_t>& bytes) {
  std::string out;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) AppendUtf8(out, bytes[i] | (bytes[i + 1] << 8u));
  return {out.begin(), out.end()};
}

// The value text after '=': a string, str(N):"...", dword:xxxxxxxx, hex:.. or hex(N):..
std::optional<Value> ParseValue(std::string_view text) {
  std::size_t at = 0;
  Value v;
  auto asString = [&](std::uint32_t type) -> std::optional<Value> {
    const auto s = Quoted(text, at);
    if (!s) return std::nullopt;
    v.type = type;
    v.data.assign(s->begin(), s->end());
    v.data.push_back(0);
    return v;
  };
  if (text.starts_with("\"")) return asString(1);
  if (text.starts_with("str(")) {
    const std::size_t close = text.find("):");
    if (close == std::string_view::npos) return std::nullopt;
    std::uint32_t type = 0;
    for (std::size_t i = 4; i < close; ++i) {
      const int d = HexDigit(text[i]);
      if (d < 0 || type > 0xFFFFFF) return std::nullopt;
      type = type * 16 + static_cast<std::uint32_t>(d);
    }
    at = close + 2;
    return asString(type);
  }
  if (text.starts_with("dword:")) {
    std::uint32_t n = 0;
    std::size_t i = 6;
    for (; i < text.size() && i < 14 && HexDigit(text[i]) >= 0; ++i) n = n * 16 + static_cast<std::uint32_t>(HexDigit(text[i]));
    if (i != 14) return std::nullopt;
    v.type = 4;
    v.data = {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n >> 16),
              static_cast<std::uint8_t>(n >> 24)};
    return v;
  }
  if (text.starts_with("hex")) {
    std::size_t i = 3;
    v.type = 3;
    if (i < text.size() && text[i] == '(') {
      const std::size_t close = text.find(')', i);
      if (close == std::string_view::npos) return std::nullopt;
      v.type = 0;
      for (std::size_t k = i + 1; k < close; ++k) {
        const int d = HexDigit(text[k]);
        if (d < 0 || v.type > 0xFFFFFF) return std::nullopt;
        v.type = v.type * 16 + static_cast<std::uint32_t>(d);
      }
      i = close + 1;
    }
    if (i >= text.size() || text[i] != ':') return std::nullopt;
    for (++i; i < text.size();) {
      const char c = text[i];
      if (c == ',' || c == ' ' || c == '\t' || c == '\\' || c == '\n' || c == '\r') {
        ++i;
        continue;
      }
      if (i + 1 >= text.size() || HexDigit(c) < 0 || HexDigit(text[i + 1]) < 0) return std::nullopt;
      v.data.push_back(static_cast<std::uint8_t>(HexDigit(c) * 16 + HexDigit(text[i + 1])));
      i += 2;
    }
    if (v.type == 1 || v.type == 2 || v.type == 7) v.data = Utf16ToUtf8(v.data);
    // A string as stored without its terminating NUL (or with no bytes at all) still ends in one,
    // as every string this reader gives does.
    if ((v.type == 1 || v.type == 2) && (v.data.empty() || v.data.back() != 0)) v.data.push_back(0);
    return v;
  }
  return std::nullopt;
}

// The key name of a "[...] time" line, unescaped, or nothing.
std::optional<std::string> KeyName(std::string_view line) {
  const std::size_t close = line.rfind(']');
  if (close == std::string_view::npos || close < 1) return std::nullopt;
  std::string out;
  for (std::size_t i = 1; i < close; ++i) {
    if (line[i] == '\\' && i + 1 < close) ++i;  // "\\" in the file is one backslash of the name
    out += line[i];
  }
  return out;
}

}  // namespace

std::optional<Values> FindKey(std::string_view text, std::string_view path) {
  if (!text.starts_with("WINE REGISTRY Version 2")) return std::nullopt;
  std::string wanted = Lower(path);
  if (text.find("\n#arch=win64") != std::string_view::npos && wanted.starts_with("software\\") &&
      !wanted.starts_with("software\\wow6432node\\") && wanted != "software\\wow6432node")
    wanted.insert(9, "wow6432node\\");

  std::optional<Values> found;
  bool inKey = false;
  std::size_t at = 0;
  while (at < text.size()) {
    // A logical line: a physical one, joined with the next while it ends in a backslash (wrapped hex).
    auto wrapped = [&](std::size_t newline) {
      std::size_t last = newline;
      if (last > at && text[last - 1] == '\r') --last;
      return last > at && text[last - 1] == '\\';
    };
    std::size_t end = text.find('\n', at);
    while (end != std::string_view::npos && text[at] != '[' && wrapped(end)) end = text.find('\n', end + 1);
    std::string_view line = text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
    at = end == std::string_view::npos ? text.size() : end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      if (inKey) return found;  // the key's values end at the next key
      const auto name = KeyName(line);
      inKey = name && Lower(*name) == wanted;
      if (inKey) found.emplace();
      continue;
    }
    if (!inKey) continue;
    std::string name;
    std::size_t valueAt = 0;
    if (line[0] == '@') {
      valueAt = 1;
    } else {
      std::size_t i = 0;
      const auto quoted = Quoted(line, i);
      if (!quoted) continue;  // a line this reader does not know is skipped, as Wine itself does
      name = Lower(*quoted);
      valueAt = i;
    }
    if (valueAt >= line.size() || line[valueAt] != '=') continue;
    if (const auto value = ParseValue(line.substr(valueAt + 1))) (*found)[name] = *value;
  }
  return found;
}

}  // namespace platform::wine
