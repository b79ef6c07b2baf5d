#pragma once
// The four plain configuration records and their one-line text form.
// Records are fixed-size and copied by value; text fields hold NUL-terminated UTF-8.
#include <cstdint>

#include "date_time.h"

constexpr int kPdNameSize = 128;    // project name: 127 bytes and the NUL
constexpr int kBcNameSize = 64;
constexpr int kAlNameSize = 33;
constexpr int kNotifyWavSize = 64;
constexpr int kRecordBufferSize = 1024;  // every record text fits with room to spare

struct PdSettings {                 // keyword "setting:"
    uint8_t adr;
    bool mst;
    bool rsl;
    int32_t rss;
    uint16_t spk;
    uint16_t mic;
    uint16_t sps;
    bool aru;
    uint16_t arl;
    uint16_t ton;
    uint16_t tof;
    bool spd;
    uint16_t spl;
    float ubs;
    bool drw;
    bool usb;
    bool mlk;
    uint8_t etp;
    int16_t el1;
    int16_t el2;
    bool ers;
    char nam[kPdNameSize];
};

struct BcUnit {                     // keyword "device:"
    uint8_t adr;
    char nam[kBcNameSize];
    bool rsl;
    int32_t rss;
    bool ene;
    bool enw;
    float ube;
    float ubw;
    bool byp;
    uint8_t pad;
    bool drw;
    uint8_t pas;
};

struct AlLine {                     // keyword "zone:"
    uint16_t num;
    uint8_t adr;
    uint8_t prt;
    char nam[kAlNameSize];
    float uvp;
    float ukn;
    float tuv;
    float tuk;
    float usp;
    uint16_t spk;
    uint16_t mic;
    uint16_t sps;
    uint8_t etp;
    int16_t el1;
    int16_t el2;
};

struct NotifyScenario {             // keyword "notify:"
    uint8_t num;
    bool nte;
    uint16_t zon;
    char wav[kNotifyWavSize];
    uint8_t per;
    uint8_t cnt;
    PackedDateTime dtm;
    bool src;
};

void InitSettingRecord(PdSettings &r);
void InitDeviceRecord(BcUnit &r);
void InitZoneRecord(AlLine &r);
void InitNotifyRecord(NotifyScenario &r);

// Write the record's text (no line end) into buf, at most `size` bytes with the NUL;
// return the text's length. Text longer than the buffer is cut to size - 1 bytes.
int BuildSettingRecord(const PdSettings &r, char *buf, uint16_t size);
int BuildDeviceRecord(const BcUnit &r, char *buf, uint16_t size);
int BuildZoneRecord(const AlLine &r, char *buf, uint16_t size);
int BuildNotifyRecord(const NotifyScenario &r, char *buf, uint16_t size);

// False (record untouched) unless `text` begins with the keyword; otherwise the record
// is initialised, every key present is read at its first occurrence, and true is returned.
bool ParseSettingRecord(const char *text, PdSettings &out);
bool ParseDeviceRecord(const char *text, BcUnit &out);
bool ParseZoneRecord(const char *text, AlLine &out);
bool ParseNotifyRecord(const char *text, NotifyScenario &out);
