// The run over our own extraction engine.
#include "arj/arj_engine.h"
#include "dialog/extraction_run.h"

namespace {

class ArjArchiveEngine final : public ArchiveEngine {
 public:
  int count_entries(const char *archive_path) override { return arj_count_entries(archive_path); }
  int extract_entry(const char *archive_path, int entry_number, const char *output_path, char *name_out) override {
    return arj_extract_entry(archive_path, entry_number, output_path, name_out);
  }
};

ArjArchiveEngine arj_archive_engine;

}  // namespace

ArchiveEngine &default_archive_engine() { return arj_archive_engine; }

bool on_extract_timer(platform::Os &os, DialogOps &dialog, unsigned timer_id, std::int32_t run_mode,
                      const char *archive_folder, const char *output_folder) {
  return on_extract_timer(os, default_archive_engine(), dialog, timer_id, run_mode, archive_folder, output_folder);
}
