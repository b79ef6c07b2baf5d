#pragma once
#include <cstdint>
#include <string>

struct FileVersion {
    uint16_t major = 0, minor = 0, release = 0, build = 0;
};

// Reads the four version numbers embedded in a program file by the build
// (see version_stamp.h); false for a file without them, or one that cannot be read.
bool GetFileVersion(const std::string &path, FileVersion &out);
