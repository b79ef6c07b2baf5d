#pragma once
// What the scenario editor stores and sends, without widgets: each control's text goes
// into its field by its rule, a scenario becomes the texts the controls show, and the
// two commands the PD understands are built here.
#include <QByteArray>
#include <string>

#include "records.h"

// The scenario's edits, each storing into its own field.
enum class NotifyField { Zone, FileName, DateTime, Period, Count };

// Stores the edit's `text` (UTF-8) into `field` of `s` by that edit's rule. True only
// when a stored value really changed, so showing a scenario or typing the same value
// again marks nothing modified.
//   Zone: the first whole number, limited to 1..65535 (0 and letters give 1);
//   Period, Count: limited to 0..255;
//   FileName: cut to 63 bytes at a character boundary, control bytes stored as blanks;
//   DateTime: read leniently (missing parts are 0); seconds are stored as 0.
bool StoreNotifyField(NotifyScenario &s, NotifyField field, const std::string &text);
// The check box "Включено".
bool StoreNotifyEnabled(NotifyScenario &s, bool checked);

// What each control shows for a scenario; the date without seconds.
struct NotifyTexts {
    bool enabled = false;
    std::string zone, fileName, dateTime, period, count;
};
NotifyTexts NotifyShownTexts(const NotifyScenario &s);

// "GETNOTIFY" and the scenario number: GETNOTIFY1 ... GETNOTIFY10.
QByteArray ReadNotifyCommand(int number);
// "SETNOTIFY" and the whole record text of slot `number`: never cut, so a long file name
// cannot send the PD a record that ends in the middle of its name. The record carries the
// slot's number, as the project file does: a slot a file did not name still holds num 0,
// which the PD would refuse or file elsewhere.
QByteArray WriteNotifyCommand(const NotifyScenario &s, int number);

// A file name character that would end the name inside the record text when the
// project or the PD reads it back (',' ends a value, '}' the record).
bool EndsRecordValue(char32_t c);
