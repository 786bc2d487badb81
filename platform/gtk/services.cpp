// The registry, the shell and the process on a Linux desktop.
#include "platform/gtk/services.h"

#include <fcntl.h>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <utility>
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

// The user's Wine registry of the machine, or empty. Only a regular file is read: a directory, a
// FIFO (which would block the window's thread for good) or any read error means "not found".
std::string SystemRegistryFile() {
  std::string prefix;
  if (const char* set = g_getenv("WINEPREFIX"); set && *set)
    prefix = set;
  else
    prefix = std::string(g_get_home_dir()) + "/.wine";
  const int fd = open((prefix + "/system.reg").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return {};
  std::string text;
  struct stat info {};
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    char chunk[65536];
    for (;;) {
      const ssize_t n = read(fd, chunk, sizeof chunk);
      if (n == 0) break;
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        text.clear();
        break;
      }
      text.append(chunk, static_cast<std::size_t>(n));
    }
  }
  close(fd);
  return text;
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
// absolute already. The directory is this system's own path (the launcher's folder, as the kernel
// gives it): a backslash in it is part of a name.
std::string LocalPath(std::string path, const std::optional<std::string>& directory) {
  std::replace(path.begin(), path.end(), '\\', '/');
  if (!path.empty() && path[0] == '/') return path;
  if (directory && !directory->empty()) return *directory + "/" + path;
  return path;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> out;
  for (std::size_t at = 0; at <= text.size();) {
    const std::size_t end = std::min(text.find(separator, at), text.size());
    if (end > at) out.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return out;
}

std::string Env(const char* name, const std::string& otherwise) {
  const char* set = g_getenv(name);
  return set && *set ? set : otherwise;
}

// A program on the search path, looked for only in absolute folders: an empty or relative element
// (which GLib takes for the current folder, the disc's root) could hold a planted one. With no PATH,
// the system's own folders.
std::string FindProgram(const char* name) {
  const char* set = g_getenv("PATH");
  for (const std::string& folder : Split(set ? set : "/usr/bin:/bin", ':')) {
    if (folder[0] != '/') continue;
    const std::string candidate = folder + "/" + name;
    struct stat info {};
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0)
      return candidate;
  }
  return {};
}

constexpr const char* kWindowsProgramTypes[] = {"application/x-ms-dos-executable", "application/x-msdownload",
                                               "application/vnd.microsoft.portable-executable",
                                               "application/x-msdos-program"};

// The lists of MIME-type associations in the order the XDG rules weigh them: the user's config,
// the system's config, the user's data, the system's data; in each folder every current desktop's
// own list before the common one; the old defaults.list of each data folder last.
std::vector<std::string> MimeAppsLists() {
  const std::string home = g_get_home_dir();
  std::vector<std::string> folders{Env("XDG_CONFIG_HOME", home + "/.config")};
  for (const auto& d : Split(Env("XDG_CONFIG_DIRS", "/etc/xdg"), ':')) folders.push_back(d);
  folders.push_back(Env("XDG_DATA_HOME", home + "/.local/share") + "/applications");
  std::vector<std::string> data;
  for (const auto& d : Split(Env("XDG_DATA_DIRS", "/usr/local/share:/usr/share"), ':')) data.push_back(d + "/applications");
  folders.insert(folders.end(), data.begin(), data.end());
  std::vector<std::string> desktops;
  for (auto d : Split(Env("XDG_CURRENT_DESKTOP", ""), ':')) {
    for (char& ch : d) ch = static_cast<char>(g_ascii_tolower(ch));
    desktops.push_back(d);
  }
  std::vector<std::string> lists;
  for (const auto& folder : folders) {
    for (const auto& desktop : desktops) lists.push_back(folder + "/" + desktop + "-mimeapps.list");
    lists.push_back(folder + "/mimeapps.list");
  }
  for (const auto& folder : data) lists.push_back(folder + "/defaults.list");
  return lists;
}

struct GKeyFileDeleter {
  void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
struct GStrvDeleter {
  void operator()(char** list) const { g_strfreev(list); }
};

// The application the user or the system set as the default for any of `types`, never one that
// merely lists them: GIO would fall back to any application that can open them, an archive manager
// for Windows programs.
GObjectPtr<GAppInfo> DefaultApplication(const std::vector<std::string>& types) {
  std::set<std::pair<std::string, std::string>> removed;  // (type, desktop id)
  for (const auto& list : MimeAppsLists()) {
    std::unique_ptr<GKeyFile, GKeyFileDeleter> file(g_key_file_new());
    if (!g_key_file_load_from_file(file.get(), list.c_str(), G_KEY_FILE_NONE, nullptr)) continue;
    for (const auto& type : types) {
      std::unique_ptr<char*, GStrvDeleter> gone(
          g_key_file_get_string_list(file.get(), "Removed Associations", type.c_str(), nullptr, nullptr));
      for (char** id = gone.get(); id && *id; ++id) removed.insert({type, *id});
    }
    for (const auto& type : types) {
      std::unique_ptr<char*, GStrvDeleter> ids(
          g_key_file_get_string_list(file.get(), "Default Applications", type.c_str(), nullptr, nullptr));
      for (char** id = ids.get(); id && *id; ++id) {
        if (removed.count({type, *id})) continue;
        if (GDesktopAppInfo* app = g_desktop_app_info_new(*id)) return GObjectPtr<GAppInfo>(G_APP_INFO(app));
      }
    }
  }
  return nullptr;
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
  for (const char* windows : kWindowsProgramTypes)
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
  const std::string directory = request.directory.value_or(std::string());
  std::string type;
  if (IsWindowsProgram(path, &type)) {
    std::vector<std::string> types{type};
    types.insert(types.end(), std::begin(kWindowsProgramTypes), std::end(kWindowsProgramTypes));
    if (GObjectPtr<GAppInfo> handler = DefaultApplication(types); handler) {
      GObjectPtr<GFile> file(g_file_new_for_path(path.c_str()));
      GList files{file.get(), nullptr, nullptr};
      InDirectory(directory, [&] { g_app_info_launch(handler.get(), &files, nullptr, &error.error); });
      return;
    }
    const std::string wine = FindProgram("wine");
    if (wine.empty()) return;  // nothing on this desktop runs Windows programs
    GText absolute(g_canonicalize_filename(path.c_str(), nullptr));
    // start runs a program in the program's own folder unless told the folder; the folder, as Wine
    // reads it, is the same path on drive Z:, Wine's view of the root.
    std::vector<const char*> argv{wine.c_str(), "start"};
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
