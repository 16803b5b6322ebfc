// The writer's progress reports, drawn on twpack's progress line.
#ifndef TOOLS_PACK_PROGRESS_H
#define TOOLS_PACK_PROGRESS_H

#include <cstdint>
#include <string>

#include "pack/file_archiver.h"
#include "tools/progress_line.h"

namespace twpack {

class ProgressObserver : public pack::ArchiveObserver {
 public:
  explicit ProgressObserver(ProgressLine &line) : line_(line) {}
  void begin_entry(int number, const std::string &name) override { line_.begin_entry(number, name); }
  void add_bytes(std::uint64_t count) override { line_.add_bytes(count); }

 private:
  ProgressLine &line_;
};

}  // namespace twpack

#endif  // TOOLS_PACK_PROGRESS_H
