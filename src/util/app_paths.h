#pragma once
#include <filesystem>

// The folder of the running program file.
std::filesystem::path ProgramDir();
// Where talvikcfg.ini lives: beside the program when that folder is writable
// (a build tree, an unpacked folder), otherwise ~/.config/talvik (created on demand).
std::filesystem::path SettingsDir();
// The COM<N> links: a ports/ folder beside the settings file.
std::filesystem::path PortsDir();
// Tests and the simulator point both at a folder of their own.
void SetSettingsDirOverride(const std::filesystem::path &dir);
