#pragma once
// Texts shared by every window: the program's caption and the words the pages
// show for the two states of a flag. Kept in one place so a page and the tree
// never disagree on a letter.

inline constexpr const char *kAppTitle = "TALVIK ПД БС Конфигуратор";

inline constexpr const char *kUsbFlash = "USB Flash";      // usb false
inline constexpr const char *kUsbCom = "COM порт";         // usb true
inline constexpr const char *kMicNoLatch = "Без фиксации"; // mlk false
inline constexpr const char *kMicLatch = "С фиксацией";    // mlk true
inline constexpr const char *kDirWest = "WEST";            // drw true
inline constexpr const char *kDirEast = "EAST";            // drw false
inline constexpr const char *kMaster = "Ведущий";          // mst true
inline constexpr const char *kSlave = "Ведомый";           // mst false

inline constexpr const char *kPdPrefix = "ПД:";
inline constexpr const char *kBcPrefix = "БС:";
inline constexpr const char *kAlPrefix = "АЛ:";
inline constexpr const char *kZonePrefix = "Зона:";

inline constexpr const char *kEchoOff = "Выключено";
inline constexpr const char *kEchoSpeaker = "Динамик";
inline constexpr const char *kEchoMic = "Микрофон";

// What InputValue returns when the dialog was not closed with OK.
inline constexpr const char *kInputCancel = "INPUTVAL_CANCEL";
