#pragma once
// Checking the network against the project: what the devices said, set against what the
// project holds, record by record. Pure: no I/O, no Qt. Fields are compared as their
// record texts write them (one decimal, names as stored), so a value that survives a
// write and a read unchanged is never reported.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "project.h"

// How one request of the check ended.
enum class ReadState {
    Answered, // the record is in `record`
    NoAnswer, // silent through every repeat
    Refused,  // an ERROR_ reply, its text in `error`
    NotRead,  // the check was stopped before this request
};

template <class Record> struct DeviceRead {
    ReadState state = ReadState::NotRead;
    Record record{};
    std::string error;
};

struct BcRead {
    uint8_t adr = 0;
    DeviceRead<BcUnit> unit;
    // Port p at index p - 1; a record with zone number 0 is a port without a line.
    std::array<DeviceRead<AlLine>, 16> ports;
};

// What the devices hold, one entry per BC unit of the project, in the project's order.
struct NetworkRecords {
    DeviceRead<PdSettings> pd;
    std::vector<BcRead> bcs;
};

// The project's side: its PD settings, BC units and their AL lines.
struct ProjectRecords {
    PdSettings pd{};
    std::vector<BcUnit> bcs;
    std::vector<AlLine> lines;
};
ProjectRecords RecordsOf(const Project &p);

struct FieldDifference {
    std::string key;     // as in the record text: "ubs", "nam"
    std::string project; // the value as the project's record text writes it
    std::string device;
};

enum class RowKind {
    Differs,       // fields listed in `fields`
    NoAnswer,      // the device (or port) did not answer
    Refused,       // the device answered with an error, `detail` holds it
    OnlyInProject, // a line the project has on a port where the device has none
    OnlyInDevice,  // a line the device has on a port where the project has none
};

struct CheckRow {
    std::string record; // "ПД:250", "БС:238", "БС:238 АЛ:4"
    RowKind kind = RowKind::Differs;
    std::vector<FieldDifference> fields;
    std::string detail;
};

struct CheckReport {
    std::vector<CheckRow> rows;
    bool complete = true; // false when the check was stopped before the end
    int notRead = 0;      // requests left unsent by a stop
    bool matches() const { return complete && rows.empty(); }
};

CheckReport CompareNetwork(const ProjectRecords &project, const NetworkRecords &network);

// The key/value pairs of a record text as its builder wrote it, in order. Names may hold
// blanks; a value ends where the next key of the record begins.
std::vector<std::pair<std::string, std::string>> RecordFields(const std::string &text);

// The report as plain text (UTF-8), one line per record and one indented line per field.
std::string ReportText(const CheckReport &report);
// The report's one-line verdict: the match, or how many records differ.
std::string ReportSummary(const CheckReport &report);
// A Russian caption for a record key where the main window has one ("ubs" -> "Установить Ub");
// `recordKind` is "setting", "device" or "zone".
std::string FieldCaption(const std::string &recordKind, const std::string &key);
// What a row says about its record: "отличается", "не отвечает", "линия есть в проекте ...".
std::string RowState(const CheckRow &row);
// A differing field as the report names it: its key, with its caption where there is one.
std::string FieldLabel(const CheckRow &row, const FieldDifference &field);
