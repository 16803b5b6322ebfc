// The single-instance guard: a named mutex whose name only needs to exist.
#include "startup/startup_sequence.h"

namespace {

constexpr std::uint32_t kPlatformNt = 2;

}  // namespace

int classify_os(platform::Os &os) {
  const platform::OsVersion version = os.os_version();
  if (version.platform_id != kPlatformNt) return kOsOther;
  if (version.major_version == 3 || version.major_version == 4) return kOsNt4;
  if (version.major_version == 5) return kOsNt5;
  return kOsOther;
}

int is_already_running(platform::Os &os, platform::Handle &instance_mutex) {
  // On NT 5 the guard spans every session of the machine; elsewhere the
  // caller's own namespace is used.
  const char *name = classify_os(os) == kOsNt5 ? "Global\\Tarnwell Unpack Mutex 1.0" : "Tarnwell Unpack Mutex 1.0";
  instance_mutex = os.create_mutex(name);
  if (instance_mutex != nullptr && os.last_error_is_already_exists()) {
    os.close_handle(instance_mutex);
    instance_mutex = nullptr;
  }
  return instance_mutex == nullptr ? 1 : 0;
}
