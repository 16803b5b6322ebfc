#include "archive_fixture.h"

#include "arj/crc32.h"
#include "arj/format.h"
#include "pack/installer_layout.h"

namespace fixture {
namespace {

void put16(std::string &out, std::uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string &out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

std::string header_block(const std::string &name, int content_type, std::uint32_t size, std::uint32_t crc) {
  std::string basic;
  basic += static_cast<char>(arj::kFirstSize);
  basic += static_cast<char>(6);  // archiver version
  basic += static_cast<char>(1);  // min version
  basic += static_cast<char>(arj::kOsMsdos);
  basic += static_cast<char>(arj::kFlagPathSymbol);
  basic += static_cast<char>(arj::kMethodStored);
  basic += static_cast<char>(content_type);
  basic += '\0';
  put32(basic, kFixtureTime);
  put32(basic, size);  // packed
  put32(basic, size);  // original
  put32(basic, crc);
  put16(basic, 0);  // name offset
  put16(basic, 0);  // access mode
  put16(basic, 0);  // host data
  basic += name;
  basic += '\0';
  basic += '\0';  // empty comment

  std::string block;
  block += static_cast<char>(arj::kMarkerByte0);
  block += static_cast<char>(arj::kMarkerByte1);
  put16(block, static_cast<std::uint32_t>(basic.size()));
  block += basic;
  put32(block, arj::crc32_of(basic.data(), basic.size()));
  put16(block, 0);  // no extended headers
  return block;
}

}  // namespace

std::string make_archive(const std::vector<Entry> &entries) {
  std::string archive = header_block("fixture.arj", arj::kContentMainHeader, 0, 0);
  for (const Entry &entry : entries) {
    std::uint32_t crc = arj::crc32_of(entry.data.data(), entry.data.size());
    if (entry.wrong_crc) crc ^= 0x00010000u;
    archive += header_block(entry.name, arj::kContentBinary, static_cast<std::uint32_t>(entry.data.size()), crc);
    archive += entry.data;
  }
  archive += std::string("\x60\xEA\x00\x00", 4);
  return archive;
}

std::string make_installer(const std::string &archive, std::int8_t run_mode, std::size_t stub_size) {
  std::string image(stub_size, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  pack::PayloadDescriptor descriptor;
  descriptor.archive_offset = static_cast<std::uint32_t>(stub_size);
  descriptor.archive_size = static_cast<std::uint32_t>(archive.size());
  descriptor.run_mode = run_mode;
  unsigned char bytes[pack::kDescriptorSize];
  pack::encode_descriptor(descriptor, bytes);
  image.replace(pack::kDescriptorOffset, pack::kDescriptorSize, reinterpret_cast<const char *>(bytes),
                pack::kDescriptorSize);
  return image + archive;
}

}  // namespace fixture
