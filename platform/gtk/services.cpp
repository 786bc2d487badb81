// The registry, the shell and the process on a Linux desktop.
#include "platform/gtk/services.h"

#include <fcntl.h>
#include <gio/gio.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

namespace platform {

namespace {

template <class T>
struct GObjectDeleter {
  void operator()(T* object) const {
    if (object) g_object_unref(object);
  }
};
template <class T>
using GObjectPtr = std::unique_ptr<T, GObjectDeleter<T>>;

struct GFreeDeleter {
  void operator()(void* memory) const { g_free(memory); }
};
using GText = std::unique_ptr<char, GFreeDeleter>;

struct GErrorOwner {
  GError* error = nullptr;
  ~GErrorOwner() {
    if (error) g_error_free(error);
  }
};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(g_ascii_tolower(c));
  return text;
}

wine::Value Text(const std::string& text) {
  wine::Value v{kRegSz, {text.begin(), text.end()}};
  v.data.push_back(0);
  return v;
}

// The user's Wine registry of the machine, or empty.
std::string SystemRegistryFile() {
  std::string prefix;
  if (const char* set = g_getenv("WINEPREFIX"); set && *set)
    prefix = set;
  else
    prefix = std::string(g_get_home_dir()) + "/.wine";
  std::ifstream in(prefix + "/system.reg", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<wine::Values> ClassesKey(const std::string& path) {
  GObjectPtr<GAppInfo> pdf(g_app_info_get_default_for_type("application/pdf", FALSE));
  if (!pdf) return std::nullopt;
  const std::string id = g_app_info_get_id(pdf.get()) ? g_app_info_get_id(pdf.get()) : g_app_info_get_name(pdf.get());
  const std::string key = Lower(path);
  if (key == ".pdf") return wine::Values{{"", Text(id)}};
  if (key == Lower(id) + "\\shell\\open\\command") {
    const char* command = g_app_info_get_commandline(pdf.get());
    return wine::Values{{"", Text(command ? command : "")}};
  }
  return std::nullopt;
}

// A request's backslash path as a path of this system, relative to `directory` when it is not
// absolute already.
std::string LocalPath(std::string path, const std::optional<std::string>& directory) {
  std::replace(path.begin(), path.end(), '\\', '/');
  if (!path.empty() && path[0] == '/') return path;
  if (directory && !directory->empty()) return *directory + "/" + path;
  return path;
}

bool IsWindowsProgram(const std::string& path, std::string* type) {
  char head[4096];
  gsize length = 0;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    length = std::fread(head, 1, sizeof head, f);
    std::fclose(f);
  } else {
    return false;
  }
  gboolean uncertain = FALSE;
  GText guessed(g_content_type_guess(path.c_str(), reinterpret_cast<const guchar*>(head), length, &uncertain));
  *type = guessed ? guessed.get() : "";
  for (const char* windows : {"application/x-ms-dos-executable", "application/x-msdownload",
                              "application/vnd.microsoft.portable-executable", "application/x-msdos-program"})
    if (guessed && g_content_type_is_a(guessed.get(), windows)) return true;
  return false;
}

// Runs `launch` with the current directory at `directory`, as a spawned program inherits it.
template <class Launch>
void InDirectory(const std::string& directory, Launch launch) {
  const int here = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const bool moved = !directory.empty() && chdir(directory.c_str()) == 0;
  launch();
  if (moved && here >= 0 && fchdir(here) != 0) {
    // Nothing else depends on the current directory: the next request names its own.
  }
  if (here >= 0) close(here);
}

}  // namespace

long LinuxRegistry::Open(RegistryRoot root, const std::string& path, std::uint32_t, RegKey* key) {
  std::optional<wine::Values> values =
      root == kClassesRoot ? ClassesKey(path) : wine::FindKey(SystemRegistryFile(), path);
  if (!values) return kRegNotFound;
  *key = next_++;
  open_[*key] = std::move(*values);
  return kRegSuccess;
}

long LinuxRegistry::Query(RegKey key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
                          std::uint32_t* size) {
  const auto k = open_.find(key);
  if (k == open_.end()) return 6;  // ERROR_INVALID_HANDLE
  const auto v = k->second.find(Lower(valueName));
  if (v == k->second.end()) return kRegNotFound;
  const auto actual = static_cast<std::uint32_t>(v->second.data.size());
  *type = v->second.type;
  if (data && *size < actual) {
    *size = actual;
    return kRegMoreData;
  }
  if (data) std::memcpy(data, v->second.data.data(), actual);
  *size = actual;
  return kRegSuccess;
}

long LinuxRegistry::Close(RegKey key) { return open_.erase(key) ? kRegSuccess : 6; }

void LinuxShell::Execute(const ShellRequest& request) {
  GErrorOwner error;
  if (request.file.find("://") != std::string::npos) {  // a web address
    g_app_info_launch_default_for_uri(request.file.c_str(), nullptr, &error.error);
    return;
  }
  const std::string path = LocalPath(request.file, request.directory);
  const std::string directory = request.directory ? LocalPath(*request.directory, std::nullopt) : std::string();
  std::string type;
  if (IsWindowsProgram(path, &type)) {
    if (GObjectPtr<GAppInfo> handler(g_app_info_get_default_for_type(type.c_str(), FALSE)); handler) {
      GObjectPtr<GFile> file(g_file_new_for_path(path.c_str()));
      GList files{file.get(), nullptr, nullptr};
      InDirectory(directory, [&] { g_app_info_launch(handler.get(), &files, nullptr, &error.error); });
      return;
    }
    GText wine(g_find_program_in_path("wine"));
    if (!wine) return;  // nothing on this desktop runs Windows programs
    GText absolute(g_canonicalize_filename(path.c_str(), nullptr));
    // start runs a program in the program's own folder unless told the folder; the folder, as Wine
    // reads it, is the same path on drive Z:, Wine's view of the root.
    std::vector<const char*> argv{wine.get(), "start"};
    if (!directory.empty()) argv.insert(argv.end(), {"/d", directory.c_str()});
    argv.insert(argv.end(), {"/unix", absolute.get(), nullptr});
    g_spawn_async(directory.empty() ? nullptr : directory.c_str(), const_cast<char**>(argv.data()), nullptr,
                  static_cast<GSpawnFlags>(G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL), nullptr, nullptr,
                  nullptr, &error.error);
    return;
  }
  // A document: its default application, by the file's own address.
  GText absolute(g_canonicalize_filename(path.c_str(), nullptr));
  GText uri(g_filename_to_uri(absolute.get(), nullptr, &error.error));
  if (uri) g_app_info_launch_default_for_uri(uri.get(), nullptr, &error.error);
}

std::uint32_t LinuxProcess::ModuleFileName(char* buffer, std::uint32_t size) {
  if (size == 0) return 0;
  const ssize_t length = readlink("/proc/self/exe", buffer, size);
  if (length <= 0) return 0;
  if (static_cast<std::uint32_t>(length) >= size) return size;  // cut
  buffer[length] = '\0';
  return static_cast<std::uint32_t>(length);
}

}  // namespace platform
