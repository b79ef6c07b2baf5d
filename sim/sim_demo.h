#pragma once
// The network the simulator holds when no project file is given: a master PD at 250,
// BC 238 with four AL lines, BC 240 with two, and two named scenarios.
#include <memory>

#include "project.h"

std::unique_ptr<Project> MakeDemoProject();
