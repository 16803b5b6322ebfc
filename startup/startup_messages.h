// The start-up's error boxes and the exit codes that go with them. The texts
// are shown exactly as they stand, misspellings included: support staff and
// scripts know them by these words.
#ifndef STARTUP_STARTUP_MESSAGES_H
#define STARTUP_STARTUP_MESSAGES_H

#include <cstdint>

namespace startup_text {

constexpr const char kCaption[] = "Tarnwell Installer";
constexpr const char kCorruptCaption[] = "Tarnwell installer";

constexpr const char kAlreadyRunning[] =
    "The installation is already running on this system.\nInstallation cannot proceed further.\n\n"
    "Aborting Installation";
constexpr const char kNoModulePath[] =
    "Internal error occured.Installation cannot procced further.\n\nAborting Installation";
constexpr const char kNoTempFolder[] =
    "Could not get the Temp folder location.Installation cannot procced further.\n\nAborting Installation";
constexpr const char kNoTempName[] =
    "Could not get the Temp folder name.Installation cannot procced further.\n\nAborting Installation";
constexpr const char kBadTempName[] =
    "Internal error occured while extracting files for installation.\nInstallation cannot procced further.\n\n"
    "Aborting Installation";
constexpr const char kCannotCreateFolder[] =
    "Cannot create folder for extracting installation files.\nInstallation cannot procced further.\n"
    "Aborting Installation";
constexpr const char kExtractionFailed[] =
    "Internal error occured while extracting files for installation.\nInstallation cannot procced further.\n"
    "Aborting Installation";
constexpr const char kCorruptInstaller[] =
    "The Installation files seems to be corrupt.\nPlease contact your Vendor.\nInstallation cannot procced further";

}  // namespace startup_text

// Exit codes of the installer process for the start-up failures that have a
// code of their own; every other failure ends with 0.
constexpr std::uint32_t kExitNoTempFolder = 126;
constexpr std::uint32_t kExitNoTempName = 127;
constexpr std::uint32_t kExitStagingFailed = 129;
constexpr std::uint32_t kExitCorruptInstaller = 130;

#endif  // STARTUP_STARTUP_MESSAGES_H
