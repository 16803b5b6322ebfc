#include "pack/installer_builder.h"

#include <cctype>
#include <map>

#include "arj/format.h"

namespace pack {

const char *const kStubOwnFiles[3] = {"TWDATA.ARJ", "RPARA.DAT", "NEWFILE.TMP"};

namespace {

constexpr std::size_t kDosHeaderSize = 64;

std::string upper(const std::string &s) {
  std::string u = s;
  for (char &c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return u;
}

bool is_dos_name_char(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (std::isalnum(u)) return true;
  static const char kExtra[] = "!#$%&'()-@^_`{}~";
  for (const char *p = kExtra; *p != '\0'; ++p) {
    if (*p == c) return true;
  }
  return false;
}

bool is_device_name(const std::string &base) {
  const std::string b = upper(base);
  if (b == "CON" || b == "PRN" || b == "AUX" || b == "NUL" || b == "CLOCK$") return true;
  return b.size() == 4 && (b.compare(0, 3, "COM") == 0 || b.compare(0, 3, "LPT") == 0) && b[3] >= '1' &&
         b[3] <= '9';
}

}  // namespace

std::string stub_problem(const std::vector<std::uint8_t> &stub) {
  if (stub.size() < kDosHeaderSize) return "too short for an executable (no whole MS-DOS header)";
  if (stub[0] != 'M' || stub[1] != 'Z') return "not an executable (no MZ signature)";
  for (std::size_t i = kDescriptorOffset; i < kDescriptorOffset + kDescriptorSize; ++i) {
    if (stub[i] != 0) return "its payload descriptor is already filled (an installer, not a bare stub)";
  }
  return "";
}

std::string installer_name_problem(const std::string &name) {
  if (name.empty()) return "the name is empty";
  for (const char c : name) {
    if (c == '/' || c == '\\' || c == ':') return "not a plain file name (it holds a folder or drive part)";
  }
  if (name.size() > kStubNameLimit) return "longer than the installer can hold (15 characters at most)";
  const std::size_t dot = name.find('.');
  const std::string base = name.substr(0, dot);
  const std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
  if (base.empty() || base.size() > 8 || ext.size() > 3 || ext.find('.') != std::string::npos ||
      (dot != std::string::npos && ext.empty())) {
    return "not a DOS 8.3 file name";
  }
  for (const char c : base + ext) {
    if (!is_dos_name_char(c)) return std::string("not a DOS 8.3 file name (character '") + c + "')";
  }
  if (is_device_name(base)) return "a device name";
  return "";
}

void check_payload_names(const std::vector<std::string> &names, PayloadReport &report) {
  std::map<std::string, std::string> seen;  // upper-cased name -> first spelling
  for (const char *own : kStubOwnFiles) seen[own] = "";
  bool has_setup = false;
  for (const std::string &name : names) {
    const std::string problem = installer_name_problem(name);
    if (!problem.empty()) {
      report.errors.push_back("entry '" + name + "': " + problem);
      continue;
    }
    const std::string key = upper(name);
    if (key == upper(kSetupProgram)) has_setup = true;
    const auto found = seen.find(key);
    if (found == seen.end()) {
      seen[key] = name;
    } else if (found->second.empty()) {
      report.errors.push_back("entry '" + name + "': the installer uses this name for a file of its own");
    } else {
      report.errors.push_back("entry '" + name + "': same name as entry '" + found->second +
                              "' when letter case is ignored");
    }
  }
  if (names.size() > kStubMaxEntries) {
    report.errors.push_back("more than 32767 entries: the installer cannot count them");
  }
  if (!has_setup) report.warnings.push_back("no entry 'inst.exe': the installer will find no setup program to start");
}

void check_payload_entries(const std::vector<IndexedEntry> &entries, PayloadReport &report) {
  std::vector<std::string> names;
  for (const IndexedEntry &e : entries) {
    names.push_back(e.name);
    const std::string label = "entry '" + e.name + "': ";
    if ((e.header_flags & arj::kFlagEnciphered) != 0) report.errors.push_back(label + "enciphered");
    if (e.pack_method > arj::kMethod4) {
      report.errors.push_back(label + "unknown method " + std::to_string(e.pack_method));
    }
    if (e.content_type != arj::kContentBinary && e.content_type != arj::kContentText) {
      report.errors.push_back(label + "unknown content type " + std::to_string(e.content_type));
    }
    if (e.min_version > 3) report.errors.push_back(label + "needs a newer extractor (version " +
                                                   std::to_string(e.min_version) + ")");
    if (e.packed_size > 0x7FFFFFFFu || e.original_size > 0x7FFFFFFFu) {
      report.errors.push_back(label + "too large (2 GiB or more)");
    }
  }
  check_payload_names(names, report);
}

bool assemble_installer(const std::vector<std::uint8_t> &stub, const std::vector<std::uint8_t> &archive,
                        RunMode mode, std::vector<std::uint8_t> &installer, std::string &error) {
  const std::uint64_t total = static_cast<std::uint64_t>(stub.size()) + archive.size();
  if (total > 0x7FFFFFFFu) {
    error = "the installer would be 2 GiB or larger";
    return false;
  }
  installer.clear();
  installer.reserve(static_cast<std::size_t>(total));
  installer.insert(installer.end(), stub.begin(), stub.end());
  installer.insert(installer.end(), archive.begin(), archive.end());
  PayloadDescriptor descriptor;
  descriptor.archive_offset = static_cast<std::uint32_t>(stub.size());
  descriptor.archive_size = static_cast<std::uint32_t>(archive.size());
  descriptor.run_mode = mode;
  encode_descriptor(descriptor, installer.data() + kDescriptorOffset);
  return true;
}

}  // namespace pack
