#include "bench/our_unpacker.h"

#include "arj/arj_engine.h"
#include "arj/format.h"
#include "arj/result_code.h"

namespace bench {

namespace {

std::string failure_text(const std::string &what, int code) {
  return what + ": " + std::to_string(code) + " (" + arj::result_text(code) + ")";
}

class ListingVisitor : public arj::EntryVisitor {
 public:
  explicit ListingVisitor(ArchiveListing &listing) : listing_(listing) {}
  bool on_entry(const arj::EntryInfo &info, arj::EntryAction &) override {
    listing_.entries.push_back(info);
    return true;
  }
  void on_entry_done(const arj::EntryInfo &, int) override {}

 private:
  ArchiveListing &listing_;
};

class VectorSink : public arj::EntrySink {
 public:
  void target(std::vector<unsigned char> *buffer) { buffer_ = buffer; }
  bool write(const unsigned char *data, std::size_t length) override {
    buffer_->insert(buffer_->end(), data, data + length);
    return true;
  }

 private:
  std::vector<unsigned char> *buffer_ = nullptr;
};

class MemoryVisitor : public arj::EntryVisitor {
 public:
  explicit MemoryVisitor(std::vector<std::vector<unsigned char>> &outputs) : outputs_(outputs) {}

  bool on_entry(const arj::EntryInfo &info, arj::EntryAction &action) override {
    const std::size_t index = static_cast<std::size_t>(info.number - 1);
    if (outputs_.size() <= index) outputs_.resize(index + 1);
    std::vector<unsigned char> &buffer = outputs_[index];
    buffer.clear();
    buffer.reserve(info.original_size);
    sink_.target(&buffer);
    action.sink = &sink_;
    return true;
  }

  void on_entry_done(const arj::EntryInfo &info, int result) override {
    if (result != arj::kOk && first_failure_.empty()) {
      first_failure_ = failure_text("entry " + std::to_string(info.number) + " '" + info.name + "'", result);
    }
  }

  const std::string &first_failure() const { return first_failure_; }

 private:
  std::vector<std::vector<unsigned char>> &outputs_;
  VectorSink sink_;
  std::string first_failure_;
};

}  // namespace

std::uint64_t ArchiveListing::packed_bytes() const {
  std::uint64_t total = 0;
  for (const arj::EntryInfo &entry : entries) total += entry.packed_size;
  return total;
}

std::uint64_t ArchiveListing::original_bytes() const {
  std::uint64_t total = 0;
  for (const arj::EntryInfo &entry : entries) total += entry.original_size;
  return total;
}

bool list_archive(const std::string &archive_path, ArchiveListing &listing, std::string &error) {
  listing.entries.clear();
  ListingVisitor visitor(listing);
  const int result = arj::walk_archive(archive_path.c_str(), 0, visitor, nullptr);
  if (result != arj::kOk) {
    error = failure_text("listing '" + archive_path + "'", result);
    return false;
  }
  return true;
}

bool unpack_to_files(const std::string &archive_path, const ArchiveListing &listing,
                     const std::string &output_folder, std::string &error) {
  char name[256];
  for (const arj::EntryInfo &entry : listing.entries) {
    const std::string output_path = output_folder + "/" + entry.name;
    const int result = arj_extract_entry(archive_path.c_str(), entry.number, output_path.c_str(), name);
    if (result != arj::kOk) {
      error = failure_text("extracting entry " + std::to_string(entry.number) + " of '" + archive_path + "'",
                           result);
      return false;
    }
  }
  return true;
}

bool MemoryUnpacker::unpack(const std::string &archive_path, std::string &error) {
  MemoryVisitor visitor(outputs_);
  const int result = arj::walk_archive(archive_path.c_str(), 0, visitor, nullptr);
  if (result != arj::kOk) {
    error = failure_text("walking '" + archive_path + "'", result);
    return false;
  }
  if (!visitor.first_failure().empty()) {
    error = visitor.first_failure();
    return false;
  }
  return true;
}

std::uint64_t MemoryUnpacker::output_bytes() const {
  std::uint64_t total = 0;
  for (const std::vector<unsigned char> &buffer : outputs_) total += buffer.size();
  return total;
}

std::vector<unsigned char> expected_output(const arj::EntryInfo &info, const std::vector<unsigned char> &original) {
  if (info.content_type != arj::kContentText) return original;
  std::vector<unsigned char> text;
  text.reserve(original.size() + original.size() / 16);
  for (unsigned char byte : original) {
    if (info.origin_os != arj::kOsUnix) byte &= 0x7F;
    if (byte == '\n') text.push_back('\r');
    text.push_back(byte);
  }
  return text;
}

}  // namespace bench
