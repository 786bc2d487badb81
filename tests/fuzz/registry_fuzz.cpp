// Fuzzes the registry string read and both probes with a registry whose every answer comes from the
// input: result codes, value types, sizes and bytes, including sizes that disagree with the data.
// Invariants: no crash or out-of-bounds access (the sanitizers), no key left open, and the only
// exception is a RegistryError with one of its two messages.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "probes/probes.h"
#include "probes/registry_access.h"

namespace {

class FuzzedRegistry final : public platform::Registry {
 public:
  explicit FuzzedRegistry(FuzzedDataProvider& data) : data_(data) {}

  long Open(platform::RegistryRoot, const std::string&, std::uint32_t, platform::RegKey* key) override {
    const long rc = data_.PickValueInArray<long>({0, 0, 0, 2, 5, 1018});
    if (rc != 0) return rc;
    *key = next_++;
    open_.insert(*key);
    return 0;
  }

  long Query(platform::RegKey key, const std::string&, std::uint32_t* type, std::uint8_t* data,
             std::uint32_t* size) override {
    if (!open_.count(key)) std::abort();  // queried a key that is not open
    const long rc = data_.PickValueInArray<long>({0, 0, 0, 0, 2, 234, 5});
    *type = data_.ConsumeBool() ? data_.ConsumeIntegralInRange<std::uint32_t>(0, 11) : data_.ConsumeIntegral<std::uint32_t>();
    const std::uint32_t capacity = *size;
    // Never more bytes written than the buffer holds; the size handed back may be anything, above
    // the buffer's size included.
    const std::uint32_t written = data_.ConsumeIntegralInRange<std::uint32_t>(0, data ? capacity : 70000);
    if (data) {
      const std::vector<std::uint8_t> bytes = data_.ConsumeBytes<std::uint8_t>(written);
      if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
    }
    *size = data_.ConsumeBool() ? written : data_.ConsumeIntegralInRange<std::uint32_t>(0, capacity + 70000);
    return rc;
  }

  long Close(platform::RegKey key) override {
    if (!open_.erase(key)) std::abort();  // closed twice, or never opened
    return 0;
  }

  bool AllClosed() const { return open_.empty(); }

 private:
  FuzzedDataProvider& data_;
  std::set<platform::RegKey> open_;
  platform::RegKey next_ = 0x100;
};

void Expect(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  FuzzedRegistry registry(data);
  try {
    switch (data.ConsumeIntegralInRange(0, 2)) {
      case 0:
        probes::IsPdfHandlerRegistered(registry);
        break;
      case 1: {
        const std::string version = probes::GetInstalledVersion(registry);
        Expect(version.find('\0') == std::string::npos);
        break;
      }
      default: {
        probes::RegistryAccess access(registry, platform::kLocalMachine);
        if (access.OpenKeyReadOnly("SOFTWARE\\Orun\\Vantrel\\AppInfo")) {
          const std::string text = access.ReadString(data.ConsumeRandomLengthString(16));
          Expect(text.find('\0') == std::string::npos);
        }
        break;
      }
    }
  } catch (const probes::RegistryError& e) {
    const std::string message = e.what();
    Expect(message.rfind("Invalid data type for '", 0) == 0 || message.rfind("Failed to get data for '", 0) == 0);
  }
  Expect(registry.AllClosed());
  return 0;
}
