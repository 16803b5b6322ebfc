#include "arj/arj_engine.h"

#include <cstdint>
#include <cstring>

#include "arj/engine_state.h"
#include "arj/engine_streams.h"
#include "arj/entry_driver.h"

namespace arj {
namespace {

int count_entry_headers() {
  EngineState &g = engine();
  const int rc = walk_begin(0);
  if (rc != 0) return rc;
  // A damaged or truncated entry header ends the count without a code.
  while (walk_next_entry() == 1) {
    ++g.entries_seen;
    skip_entry_data();
  }
  walk_end();
  return g.entries_seen;
}

int extract_selected() {
  EngineState &g = engine();
  make_extracted_name(g.extracted_name, static_cast<int>(sizeof g.extracted_name));
  const char *target = g.output_path[0] != '\0' ? g.output_path : g.extracted_name;
  std::strcpy(g.output_target, target);
  const OutputTarget no_target = {nullptr, nullptr, nullptr};
  return extract_entry(no_target, g.output_target);
}

int select_and_extract(int entry_number) {
  EngineState &g = engine();
  const int rc = walk_begin(0);
  if (rc != 0) return rc;
  for (;;) {
    if (walk_next_entry() != 1) {
      walk_end();
      return 1;
    }
    ++g.entries_seen;
    if (g.entries_seen == entry_number) break;
    skip_entry_data();
  }
  const int result = extract_selected();
  walk_end();
  return result;
}

int as_result(int value) { return static_cast<std::int16_t>(value); }

}  // namespace
}  // namespace arj

extern "C" int arj_count_entries(const char *archive_path) {
  using namespace arj;
  if (!engine_start()) return 110;
  crc_table_init();
  reset_streams();
  if (!set_archive_path(archive_path)) return arj_fail(103);
  return as_result(count_entry_headers());
}

extern "C" int arj_extract_entry(const char *archive_path, int entry_number, const char *output_path,
                                 char *name_out) {
  using namespace arj;
  if (!engine_start()) {
    if (name_out) name_out[0] = '\0';
    return 110;
  }
  EngineState &g = engine();
  crc_table_init();
  reset_streams();
  g.extracted_name[0] = '\0';
  int result = 103;
  // Paths too long for the engine's buffers fail rather than being cut to a
  // different path.
  const bool output_fits = !output_path || std::strlen(output_path) < sizeof g.output_path;
  if (set_archive_path(archive_path) && output_fits) {
    const char *out = output_path ? output_path : "";
    std::memcpy(g.output_path, out, std::strlen(out) + 1);
    result = select_and_extract(entry_number);
  } else {
    arj_fail(103);
  }
  if (name_out) std::memcpy(name_out, g.extracted_name, std::strlen(g.extracted_name) + 1);
  return as_result(result);
}
