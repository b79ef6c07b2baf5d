#pragma once
// A reset project on the heap: the tables take some five megabytes.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "project.h"

class ProjectTest : public testing::Test {
protected:
    ProjectTest() : m_project(std::make_unique<Project>()), p(*m_project) { ResetProject(p); }

    BcUnit Unit(uint8_t adr) {
        BcUnit unit;
        InitDeviceRecord(unit);
        unit.adr = adr;
        return unit;
    }
    AlLine Line(uint8_t adr, uint8_t prt, uint16_t num) {
        AlLine line;
        InitZoneRecord(line);
        line.adr = adr;
        line.prt = prt;
        line.num = num;
        return line;
    }

    std::unique_ptr<Project> m_project;
    Project &p;
};
