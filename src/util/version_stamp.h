#pragma once
// The program's version numbers, embedded in its file where GetFileVersion finds them.
//
// A program expands TALVIK_EMBED_VERSION once, in its own source (not in a static
// library, whose unreferenced objects the linker would leave out):
//
//     #include "version_stamp.h"
//     TALVIK_EMBED_VERSION(PROJECT_VERSION_MAJOR, PROJECT_VERSION_MINOR,
//                          PROJECT_VERSION_PATCH, PROJECT_VERSION_TWEAK)
//
// The stamp is the marker below followed by "major.minor.release.build" and a NUL,
// e.g. "\x01TALVIK-FILE-VERSION:1.0.0.1"; `strings` shows it too.

#define TALVIK_VERSION_MAGIC "\x01TALVIK-FILE-VERSION:"

#define TALVIK_VERSION_TEXT_(x) #x
#define TALVIK_VERSION_TEXT(x) TALVIK_VERSION_TEXT_(x)

// [[gnu::used]] keeps the otherwise unreferenced constant in the object file.
// clang-format off
#define TALVIK_EMBED_VERSION(major, minor, release, build)                                \
    [[gnu::used]] static const char talvikVersionStamp[] =                               \
        TALVIK_VERSION_MAGIC TALVIK_VERSION_TEXT(major) "." TALVIK_VERSION_TEXT(minor)   \
        "." TALVIK_VERSION_TEXT(release) "." TALVIK_VERSION_TEXT(build);
// clang-format on
