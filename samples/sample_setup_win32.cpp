// inst.exe, a stand-in for a product's setup program: it reports what the
// installer handed it and ends with the exit code it is told.
//
//   TW_INST_REPORT   file to write the report to (default: INSTREPORT.TXT beside the program)
//   TW_INST_EXIT     exit code to end with, decimal (default 0)
//   TW_INST_HOLD_MS  milliseconds to stay running before the end (default 0)
//   TW_INST_RELEASE  a file whose appearance ends the hold early
//
// The report has one "key=value" line each: command_line, current_folder,
// program, and rpara_hex with the bytes of RPARA.DAT beside the program in
// hexadecimal ("none" when there is no such file).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

unsigned long env_number(const char *name, unsigned long fallback) {
  char text[32];
  const DWORD length = GetEnvironmentVariableA(name, text, sizeof text);
  if (length == 0 || length >= sizeof text) return fallback;
  return std::strtoul(text, nullptr, 10);
}

// The program's own folder, with its trailing backslash.
void program_folder(char *folder, DWORD size) {
  const DWORD length = GetModuleFileNameA(nullptr, folder, size);
  folder[length < size ? length : 0] = '\0';
  char *last = std::strrchr(folder, '\\');
  if (last) last[1] = '\0';
}

void write_rpara_hex(FILE *report, const char *folder) {
  char path[MAX_PATH + 16];
  std::snprintf(path, sizeof path, "%sRPARA.DAT", folder);
  FILE *parameters = std::fopen(path, "rb");
  if (!parameters) {
    std::fputs("rpara_hex=none\n", report);
    return;
  }
  std::fputs("rpara_hex=", report);
  int byte;
  while ((byte = std::fgetc(parameters)) != EOF) std::fprintf(report, "%02x", byte);
  std::fputs("\n", report);
  std::fclose(parameters);
}

// Stays running for up to `hold` milliseconds; a file named by
// TW_INST_RELEASE that appears meanwhile ends the wait.
void hold_for(unsigned long hold) {
  char release[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("TW_INST_RELEASE", release, sizeof release);
  if (length == 0 || length >= sizeof release) {
    Sleep(hold);
    return;
  }
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < hold) {
    if (GetFileAttributesA(release) != INVALID_FILE_ATTRIBUTES) return;
    Sleep(100);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char folder[MAX_PATH];
  program_folder(folder, sizeof folder);
  char program[MAX_PATH];
  GetModuleFileNameA(nullptr, program, sizeof program);
  char current[MAX_PATH];
  if (!GetCurrentDirectoryA(sizeof current, current)) current[0] = '\0';

  char report_path[MAX_PATH + 16];
  const DWORD length = GetEnvironmentVariableA("TW_INST_REPORT", report_path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) std::snprintf(report_path, sizeof report_path, "%sINSTREPORT.TXT", folder);

  FILE *report = std::fopen(report_path, "wb");
  if (report) {
    std::fprintf(report, "command_line=%s\n", GetCommandLineA());
    std::fprintf(report, "current_folder=%s\n", current);
    std::fprintf(report, "program=%s\n", program);
    write_rpara_hex(report, folder);
    std::fclose(report);
  }
  const unsigned long hold = env_number("TW_INST_HOLD_MS", 0);
  if (hold) hold_for(hold);
  return static_cast<int>(env_number("TW_INST_EXIT", 0));
}
