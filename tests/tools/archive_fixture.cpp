#include "archive_fixture.h"

#include "pack/installer_layout.h"
#include "tests/support/arj_fixtures.h"

namespace fixture {

std::string make_archive(const std::vector<Entry> &entries) {
  std::vector<twtest::Entry> built;
  for (const Entry &entry : entries) {
    const twtest::Bytes data = twtest::to_bytes(entry.data);
    twtest::Entry e = entry.method == 0 ? twtest::stored_entry(entry.name, data)
                                        : twtest::make_entry(entry.name, 1, data, twtest::lzh_compress(data));
    e.header.modified_time = kFixtureTime;
    if (entry.wrong_crc) e.header.data_crc ^= 0x00010000u;
    built.push_back(e);
  }
  const twtest::Bytes bytes = twtest::archive(built);
  return std::string(bytes.begin(), bytes.end());
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
