#pragma once
// The project file: one record per line, CR LF after each, setting / device / zone / notify.
#include <string>
#include <string_view>

#include "project.h"

struct ProjectLoadReport {
    int devicesLeftOut = 0;   // device lines past the 256th
    int zonesLeftOut = 0;     // zone lines past the 65536th
    int linesWithText = 0;    // lines that are not blank
    int records = 0;          // lines a record parser took (left-out ones included)
};

// Text in it, yet not one record: a firmware image, another program's file. Opened as an
// empty project, a later Save would write that empty project over it.
inline bool IsNotAProject(const ProjectLoadReport &r) {
    return r.linesWithText > 0 && r.records == 0;
}

// Resets the project as opening does (scenarios 1..10 at their defaults, number 0),
// then takes every line it recognises. Never fails: unknown lines are skipped.
void LoadProjectText(Project &p, std::string_view bytes, ProjectLoadReport &report);
// Reads the file and loads it; false with `error` set when it cannot be read
// (the project is then reset).
bool LoadProjectFile(Project &p, const std::string &path, ProjectLoadReport &report, std::string &error);

// The file's bytes, exactly as saved.
std::string BuildProjectText(const Project &p);
// Writes through a temporary file in the same folder renamed over the old one,
// so a failed write never destroys the previous file. False with `error` on failure.
bool SaveProjectFile(const Project &p, const std::string &path, std::string &error);
// Writes bytes the same safe way (also used for "pd.cfg" on a disk).
bool WriteFileAtomically(const std::string &path, std::string_view bytes, std::string &error);

// The save rule for names: a name containing ".cfg" anywhere (case-sensitive) stays,
// any other gets ".cfg" appended.
std::string ProjectFileNameForSave(const std::string &name);
