#pragma once
// Which configuration commands a write of the project into the network sends, in which
// order: the PD's settings; when the PD is the master, every BC unit and every AL line in
// table order, then a clearing record for each port without a line on the BC units
// written, so a line deleted from the project does not live on in its device. Worked out
// before the first command goes out, so edits made while the write is pacing cannot
// shift the tables under it.
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "project.h"

struct WriteCommand {
    uint8_t address = 0;
    QByteArray payload; // "SETSETTING", "SETDEVICE" or "SETZONE" + record text
    QString logLine;
    // The clearing records are logged once they went out; every other command before.
    bool logAfterSend = false;
};

// Row = bus address; flag 0 a BC unit record was sent there, flags 1..16 that port's line.
using WrittenPorts = std::array<std::array<bool, 17>, 256>;

struct NetworkWritePlan {
    std::vector<WriteCommand> commands;
    WrittenPorts written{};
    int bcCommands = 0;
    int alCommands = 0;
    int clearCommands = 0;
};

// Command texts are built in a 1024-byte buffer: the record gets what the keyword leaves.
QByteArray WriteCommandText(const char *keyword, const PdSettings &r);
QByteArray WriteCommandText(const char *keyword, const BcUnit &r);
QByteArray WriteCommandText(const char *keyword, const AlLine &r);
// A zone record at its defaults (zone number 0, which a BC reads as "no line here") on
// port `prt` of the BC at `adr`.
AlLine ClearingRecord(uint8_t adr, uint8_t prt);

NetworkWritePlan PlanNetworkWrite(const Project &project);
