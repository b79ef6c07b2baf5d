#pragma once
// What a voltage window asks, and of whom: the PD its supply voltage, a BC its two line
// sides, a BC the three voltages of one of its AL lines. Each request is one frame sent
// once; a device that does not answer leaves the boxes as they are.
#include <QByteArray>
#include <cstdint>

#include "project.h"
#include "read_network.h"

struct VoltageRequest {
    bool send = false; // false: the selection has nothing to measure
    uint8_t address = 0;
    QByteArray command;
};

// PD: "UBVOLT" to the project's PD. BC: "ELWLVOLTS" to the selected unit. AL: "ALVOLTS"
// followed by the line's port number ("ALVOLTS5") to the selected unit.
VoltageRequest VoltageRequestFor(ReadTarget target, const Project &project, const BcUnit *selectedBc,
                                 const AlLine *selectedAl);
