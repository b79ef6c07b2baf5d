#pragma once
// The system's own texts of the command exchange, the dispatcher and reading the
// network, letter for letter (the Latin "A" in "AЛ:" of the removal line included).
// The window layer takes its question texts from here so both halves stay in step.

namespace ProtocolText {
// Exchange
inline constexpr char kNoReply[] = "Нет ответа от устройства";
// Dispatcher: confirmations of writes, built as prefix + number + suffix
inline constexpr char kSettingsWritten[] = "Данные настроек ПД:";
inline constexpr char kDeviceWritten[] = "Данные настроек БС:";
inline constexpr char kZoneWritten[] = "Данные настроек АЛ:";
inline constexpr char kZoneWrittenForBc[] = " для БС:";
inline constexpr char kWrittenSuffix[] = " записаны";
inline constexpr char kNotifyWritten[] = "Данные сценария записаны";
inline constexpr char kNotifyBad[] = "Данные сценария ошибочны";
inline constexpr char kErrorPrefix[] = "Ошибка: ";
// AL sweep merge
inline constexpr char kAlMismatchCopy[] =
    "Настройки АЛ в проекте не совпадают с загруженными с устройства. Копирую данные АЛ:";
inline constexpr char kAlRemovedNoZone[] = "Удалена АЛ в проекте (нет номера зоны) AЛ:"; // Latin A
// Our own wording: the project's AL table is full, so a swept line cannot be added.
inline constexpr char kAlTableFull[] = "Нет места в проекте для новой АЛ, данные не добавлены. АЛ:";
inline constexpr char kBcTableFull[] = "Нет места в проекте для нового БС, данные не добавлены. БС:";
// Our own wording: replies that do not fit the sweep or the project are ignored, never merged.
inline constexpr char kSweepReplyIgnored[] = "Ответ АЛ не подходит к чтению портов БС:";
inline constexpr char kSweepReplyIgnoredWhy[] = ", ответ пропущен: ";
inline constexpr char kSweepNoKey[] = "нет ключа ";
inline constexpr char kSweepOtherBc[] = "ответил БС:";
inline constexpr char kSweepBadPort[] = "порт вне 1..16: ";
inline constexpr char kSweepBadZone[] = "номер зоны вне 0..65535: ";
inline constexpr char kBcAddressTaken[] = "Данные БС не скопированы: адрес БС:";
inline constexpr char kBcAddressTakenWhy[] = " уже есть в проекте у другого блока";
// Scanner line
inline constexpr char kScanAddress[] = "Адрес:";
inline constexpr char kScanDevice[] = " Устройство:";
// Reading and copying
inline constexpr char kCopyCaption[] = "Копирование данных";
inline constexpr char kCopyQuestion[] = "Скопировать данные в проект ?";
inline constexpr char kCopyPortsQuestion[] = "Скопировать данные портов устройства в проект ?";
inline constexpr char kPdCopied[] = "Данные ПД скопированы в проект";
inline constexpr char kBcCopied[] = "Данные БС скопированы в проект";
inline constexpr char kAlCopied[] = "Данные АЛ скопированы в проект";
inline constexpr char kNotifyCopied[] = "Данные сценария скопированы в проект";
// Our own wording: a copy whose record is gone since the read is refused.
inline constexpr char kCopyRefusedProjectGone[] = "Проект закрыт или заменён после чтения, данные не скопированы";
inline constexpr char kCopyRefusedNoBc[] = "В проекте нет БС:";
inline constexpr char kCopyRefusedBcSuffix[] = ", данные БС не скопированы";
inline constexpr char kCopyRefusedNoAl[] = "В проекте нет АЛ:";
inline constexpr char kCopyRefusedAlOnBc[] = " на БС:";
inline constexpr char kCopyRefusedAlSuffix[] = ", данные АЛ не скопированы";
inline constexpr char kSweepReading[] = "Читаю данные АЛ:";
inline constexpr char kSweepDone[] = "Данные всех АЛ прочитаны";
// Read button captions chosen by the tree
inline constexpr char kReadPdCaption[] = "Прочитать параметры с ПД";
inline constexpr char kReadBcCaption[] = "Прочитать параметры с БС";
inline constexpr char kReadAlCaption[] = "Прочитать параметры с АЛ";
} // namespace ProtocolText
