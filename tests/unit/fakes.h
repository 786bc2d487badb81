// Test doubles for the platform: text measurement, drawing, the shell, the registry and the process.
#pragma once

#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/process.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "ui/canvas.h"
#include "ui/picture.h"

namespace fakes {

// Every character is 7 pixels wide, 8 in bold; the cell is the character height plus 4.
class Measurer final : public ui::TextMeasurer {
 public:
  ui::Size MeasureText(const ui::Font& font, std::string_view text) override {
    ++calls;
    const int per = (font.style & ui::kBold) ? 8 : 7;
    return {static_cast<int>(text.size()) * per, font.height + 4};
  }
  int calls = 0;
};

class Canvas final : public ui::Canvas {
 public:
  struct Text {
    ui::Point at;
    std::string text;
    ui::Font font;
    ui::Color color;
  };
  ui::Color System(ui::SystemColor which) override {
    switch (which) {
      case ui::SystemColor::kButtonHighlight: return kHighlight;
      case ui::SystemColor::kButtonShadow: return kShadow;
    }
    return ui::kBlack;
  }
  int DeviceScale() override { return scale; }
  void FillRect(const ui::Rect& r, ui::Color c) override { fills.push_back({r, c}); }
  void DrawText(ui::Point at, std::string_view text, const ui::Font& font, ui::Color c) override {
    texts.push_back({at, std::string(text), font, c});
  }
  void DrawBitmap(ui::Point at, const ui::Bitmap& b, const ui::Rect& clip) override {
    bitmaps.push_back({at, b.size, clip});
  }
  struct Blit {
    ui::Point at;
    ui::Size size;
    ui::Rect clip;
  };
  static constexpr ui::Color kHighlight = ui::Color::Rgb(255, 255, 254);
  static constexpr ui::Color kShadow = ui::Color::Rgb(128, 128, 128);
  std::vector<std::pair<ui::Rect, ui::Color>> fills;
  std::vector<Text> texts;
  std::vector<Blit> bitmaps;
  int scale = 1;
};

class Shell final : public platform::Shell {
 public:
  void Execute(const platform::ShellRequest& request) override { requests.push_back(request); }
  std::vector<platform::ShellRequest> requests;
};

// A process whose module file name is cut as Windows XP cuts it: the buffer filled, no NUL, the
// buffer's size returned; `utf8Path` is the same path in UTF-8 where its ANSI form is not exact.
class Process final : public platform::Process {
 public:
  std::uint32_t ModuleFileName(char* buffer, std::uint32_t size) override {
    sizesAsked.push_back(size);
    return Copy(path, buffer, size);
  }
  std::uint32_t ModuleFileNameUtf8(char* buffer, std::uint32_t size) override {
    return Copy(utf8Path.empty() ? path : utf8Path, buffer, size);
  }
  bool AnsiNamesSame(std::string_view, std::string_view) override { return utf8Path.empty(); }
  bool IsLeadByte(unsigned char byte) override { return leadBytes.count(byte) != 0; }
  char Separator() override { return separator; }
  char separator = '\\';
  std::string path = "E:\\Launch.exe";
  std::string utf8Path;
  std::set<unsigned char> leadBytes;
  bool fail = false;
  std::uint32_t failFrom = 0;  // sizes from this one on fail (0: none do)
  std::vector<std::uint32_t> sizesAsked;

 private:
  std::uint32_t Copy(const std::string& text, char* buffer, std::uint32_t size) const {
    if (fail || (failFrom && size >= failFrom)) return 0;
    const auto n = static_cast<std::uint32_t>(std::min<std::size_t>(text.size(), size));
    std::memcpy(buffer, text.data(), n);
    if (n < size) buffer[n] = '\0';
    return n;
  }
};

// A registry of keys (paths compared without regard to case, as the system does) holding values of
// any type and bytes, with failures to replay and a record of every call.
class Registry final : public platform::Registry {
 public:
  struct Value {
    std::uint32_t type = platform::kRegSz;
    std::vector<std::uint8_t> data;
  };

  static Value Sz(std::string_view text, bool terminated = true) {
    Value v{platform::kRegSz, std::vector<std::uint8_t>(text.begin(), text.end())};
    if (terminated) v.data.push_back(0);
    return v;
  }
  static Value Dword(std::uint32_t n) {
    return {platform::kRegDword, {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)}};
  }

  void SetKey(platform::RegistryRoot root, const std::string& path) { keys_[Key(root, path)]; }
  void Set(platform::RegistryRoot root, const std::string& path, const std::string& name, Value value) {
    keys_[Key(root, path)][name] = std::move(value);
  }

  long Open(platform::RegistryRoot root, const std::string& subKey, std::uint32_t access,
            platform::RegKey* key) override {
    opens.push_back({root, subKey, access});
    if (grantedAccess.count(access) == 0) return platform::kRegAccessDenied;
    const auto it = keys_.find(Key(root, subKey));
    if (it == keys_.end()) return platform::kRegNotFound;
    const platform::RegKey handle = nextHandle_++;
    open_[handle] = it->first;
    *key = handle;
    return platform::kRegSuccess;
  }

  long Query(platform::RegKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
             std::uint32_t* size) override {
    ++queries;
    const auto k = open_.find(key);
    if (k == open_.end()) return 6;  // ERROR_INVALID_HANDLE
    const auto& values = keys_[k->second];
    const auto v = values.find(name);
    if (v == values.end()) return platform::kRegNotFound;
    if (data && failDataQuery) return failDataQuery;
    *type = v->second.type;
    const auto actual = static_cast<std::uint32_t>(v->second.data.size());
    if (!data) {
      *size = actual;
      return platform::kRegSuccess;
    }
    if (*size < actual) {
      *size = actual;
      return platform::kRegMoreData;
    }
    std::memcpy(data, v->second.data.data(), actual);
    *size = actual + overReport;
    return platform::kRegSuccess;
  }

  long Close(platform::RegKey key) override {
    closes.push_back(key);
    return open_.erase(key) ? platform::kRegSuccess : 6;
  }

  std::size_t OpenKeys() const { return open_.size(); }

  struct OpenCall {
    platform::RegistryRoot root;
    std::string path;
    std::uint32_t access;
  };
  std::vector<OpenCall> opens;
  std::vector<platform::RegKey> closes;
  std::set<std::uint32_t> grantedAccess{0x20019, 0x20009, 0x1};
  long failDataQuery = 0;  // a non-zero code makes the query that fetches data fail with it
  std::uint32_t overReport = 0;  // added to the size a successful data query reports: beyond the buffer
  int queries = 0;

 private:
  static std::string Key(platform::RegistryRoot root, std::string path) {
    for (char& c : path) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return std::to_string(static_cast<int>(root)) + ":" + path;
  }
  std::map<std::string, std::map<std::string, Value>> keys_;
  std::map<platform::RegKey, std::string> open_;
  platform::RegKey nextHandle_ = 0x1000;
};

// A JPEG decoder that counts its work and makes pictures of the size it is told.
class CountingJpeg final : public ui::JpegCodec {
 public:
  ui::Size ReadHeader(std::span<const std::uint8_t> data) const override {
    ++headers;
    return SizeOf(data);
  }
  ui::Bitmap Decode(std::span<const std::uint8_t> data, ui::Size atLeast) const override {
    ++decodes;
    asked.push_back(atLeast);
    return ui::Bitmap::Rgb(SizeOf(data));
  }
  mutable std::vector<ui::Size> asked;
  std::map<const std::uint8_t*, ui::Size> sizes;
  mutable int headers = 0;
  mutable int decodes = 0;

 private:
  ui::Size SizeOf(std::span<const std::uint8_t> data) const {
    const auto it = sizes.find(data.data());
    return it == sizes.end() ? ui::Size{1, 1} : it->second;
  }
};

}  // namespace fakes
