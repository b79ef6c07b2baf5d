#pragma once
#include <filesystem>

// The folder of the running program file.
std::filesystem::path ProgramDir();
// Whether a program in this folder is an installed one: the folder is the install prefix's bin/,
// or a bin/ beside the share/ that holds the program's metainfo (a package unpacked elsewhere).
bool IsInstalledProgramDir(const std::filesystem::path &dir);
// The file whose presence, relative to bin/, marks an install tree ("../share/metainfo/...").
std::filesystem::path InstalledMarkerFromBin();
// Where talvikcfg.ini lives for a program in programDir: beside the program when that folder is
// writable and not an installed one (a build tree, an unpacked folder), otherwise
// ~/.config/talvik ($XDG_CONFIG_HOME/talvik, created on demand).
std::filesystem::path SettingsDirFor(const std::filesystem::path &programDir);
// SettingsDirFor(ProgramDir()), unless a folder was set with SetSettingsDirOverride.
std::filesystem::path SettingsDir();
// The COM<N> links: a ports/ folder beside the settings file.
std::filesystem::path PortsDir();
// Tests and the simulator point both at a folder of their own.
void SetSettingsDirOverride(const std::filesystem::path &dir);
