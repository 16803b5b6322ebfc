// An output file written under a temporary name in its final folder and moved
// to its own name only once it is known to be right, so that a failed entry
// never leaves a half-written file under the name of a good one.
#ifndef TOOLS_STAGED_FILE_H
#define TOOLS_STAGED_FILE_H

#include <cstddef>
#include <string>

#include "tools/unique_fd.h"

namespace twpack {

class StagedFile {
 public:
  StagedFile() = default;
  StagedFile(StagedFile &&other) noexcept;
  StagedFile &operator=(StagedFile &&other) noexcept;
  StagedFile(const StagedFile &) = delete;
  StagedFile &operator=(const StagedFile &) = delete;
  ~StagedFile() { discard(); }

  // Makes a fresh temporary file in `folder`. On failure returns false with `error`.
  bool create(const std::string &folder, std::string &error);

  bool write(const unsigned char *data, std::size_t length);

  // Gives the file its final name. Without `replace`, an existing file of
  // that name is kept and the commit fails. On failure the temporary file is
  // removed and `error` says why.
  bool commit(const std::string &final_path, bool replace, std::string &error);

  // Removes the temporary file, if any.
  void discard();

  bool active() const { return !temp_path_.empty(); }

 private:
  UniqueFd fd_;
  std::string temp_path_;
  bool write_failed_ = false;
  int write_errno_ = 0;
};

}  // namespace twpack

#endif  // TOOLS_STAGED_FILE_H
