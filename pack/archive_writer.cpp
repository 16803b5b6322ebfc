#include "pack/archive_writer.h"

#include "arj/crc32.h"
#include "arj/format.h"

namespace pack {
namespace {

void put_u16(std::vector<std::uint8_t> &b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void put_u32(std::vector<std::uint8_t> &b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

std::vector<std::uint8_t> encode_header_block(const HeaderFields &fields) {
  // Basic header: the fixed part, the name and an empty comment.
  const std::size_t basic_size = arj::kFirstSize + fields.name.size() + 1 + 1;
  std::vector<std::uint8_t> block(4 + basic_size + 4 + 2, 0);
  block[0] = arj::kMarkerByte0;
  block[1] = arj::kMarkerByte1;
  put_u16(block, 2, static_cast<std::uint32_t>(basic_size));
  const std::size_t h = 4;
  block[h + arj::kOffFirstSize] = arj::kFirstSize;
  block[h + arj::kOffArchiverVersion] = kArchiverVersion;
  block[h + arj::kOffMinVersion] = kMinVersion;
  block[h + arj::kOffOriginOs] = arj::kOsMsdos;
  block[h + arj::kOffHeaderFlags] = arj::kFlagPathSymbol;
  block[h + arj::kOffPackMethod] = fields.pack_method;
  block[h + arj::kOffContentType] = fields.content_type;
  put_u32(block, h + arj::kOffModifiedTime, fields.modified_time);
  put_u32(block, h + arj::kOffPackedSize, fields.packed_size);
  put_u32(block, h + arj::kOffOriginalSize, fields.original_size);
  put_u32(block, h + arj::kOffDataCrc, fields.data_crc);
  put_u16(block, h + arj::kOffAccessMode, fields.access_mode);
  for (std::size_t i = 0; i < fields.name.size(); ++i) {
    block[h + arj::kFirstSize + i] = static_cast<std::uint8_t>(fields.name[i]);
  }
  put_u32(block, h + basic_size, arj::crc32_of(block.data() + h, basic_size));
  // The two bytes after the CRC stay 0: no extended headers.
  return block;
}

std::string entry_name_problem(const std::string &name) {
  if (name.empty()) return "the name is empty";
  if (name == "." || name == "..") return "it is not a file name";
  if (name.size() > kMaxStoredName) return "the name is longer than 511 characters";
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || c == ':') return "the name holds a folder or drive part";
    if (u < 0x20 || u >= 0x7F) return "the name holds a character other than printable ASCII";
  }
  return "";
}

ArchiveWriter::ArchiveWriter(ByteSink &sink, const std::string &archive_name, std::uint32_t dos_time)
    : sink_(sink) {
  HeaderFields main;
  main.content_type = arj::kContentMainHeader;
  main.modified_time = dos_time;
  main.name = archive_name.size() > kMaxStoredName ? archive_name.substr(0, kMaxStoredName) : archive_name;
  const std::vector<std::uint8_t> block = encode_header_block(main);
  put(block.data(), block.size());
}

bool ArchiveWriter::put(const std::uint8_t *data, std::size_t length) {
  if (!ok_) return false;
  if (length != 0 && !sink_.write(data, length)) ok_ = false;
  written_ += length;
  return ok_;
}

bool ArchiveWriter::add(const std::string &name, const std::uint8_t *data, std::size_t size,
                        std::uint32_t dos_time, int method, int level, const ProgressFn &progress) {
  const PackedData packed = pack_data(data, size, method, level, progress);
  return add_packed(name, packed, size, dos_time);
}

bool ArchiveWriter::add_packed(const std::string &name, const PackedData &packed, std::size_t original_size,
                               std::uint32_t dos_time) {
  HeaderFields fields;
  fields.pack_method = static_cast<std::uint8_t>(packed.method);
  fields.content_type = arj::kContentBinary;
  fields.modified_time = dos_time;
  fields.packed_size = static_cast<std::uint32_t>(packed.bytes.size());
  fields.original_size = static_cast<std::uint32_t>(original_size);
  fields.data_crc = packed.crc;
  fields.access_mode = kArchiveAttribute;
  fields.name = name;
  const std::vector<std::uint8_t> block = encode_header_block(fields);
  put(block.data(), block.size());
  return put(packed.bytes.data(), packed.bytes.size());
}

bool ArchiveWriter::finish() {
  const std::uint8_t end_marker[4] = {arj::kMarkerByte0, arj::kMarkerByte1, 0, 0};
  return put(end_marker, sizeof end_marker);
}

}  // namespace pack
