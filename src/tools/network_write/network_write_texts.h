#pragma once
// The texts of writing the project into the network and of the firmware update, letter
// for letter as the engineers know them from the field (the misspelt "Остсутсвует" and
// "па" included: the users' instructions quote them).

namespace NetworkWriteText {
// Log lines of the main window; numbers follow the prefixes in decimal.
inline constexpr char kWritingPd[] = "Записываю настройки в ПД";
inline constexpr char kWritingBc[] = "Записываю настройки в БС:";
inline constexpr char kAlPart[] = " АЛ:";
inline constexpr char kClearingBc[] = "Очищаю настройки в БС:";
inline constexpr char kCopyingPdCfg[] = "Копирую файл конфигурации сети TALVIK в ПД";
// Our own: a stopped or broken-off write says how far it got, and that nothing was uploaded.
inline constexpr char kStopped[] = "Запись в TALVIK остановлена: отправлено команд %1 из %2";
inline constexpr char kSendFailed[] =
    "Запись в TALVIK прервана, COM порт не принял команду: отправлено команд %1 из %2";
inline constexpr char kNotSavedNoUpload[] = "Файл конфигурации не записан, в ПД не скопирован";
inline constexpr char kNoFileManager[] = "Файловый менеджер недоступен, файл конфигурации в ПД не скопирован";
inline constexpr char kNoFileManagerFirmware[] = "Файловый менеджер недоступен, файл обновления не загружен";

// Questions and messages, captioned with the program's title.
inline constexpr char kPortUnavailable[] = "COM порт не доступен";
inline constexpr char kAddressWarning[] =
    "1. Убедитесь, что адреса TALVIK-БС-16 в проекте соответствуют адресам TALVIK-БС-16 в сети TALVIK.\r\n"
    "2. Убедитесь, что адреса TALVIK-ПД в проекте соответствуют адресам TALVIK-ПД в сети TALVIK.\r\n"
    "3. Несоответствие адресов может привести к неверной загрузке конфигураций.\r\n"
    "4. Для проверки выполнить сканирование сети TALVIK, используя Сканер устройств (Инструменты / Сканер "
    "устройств).\r\n"
    "\r\n"
    "Продолжить?";
inline constexpr char kWriteQuestion[] = "Записать данные в TALVIK?";
inline constexpr char kFlashModeQuestion[] = "Включите па ПД USB в режим FLASH. Подключитесь USB кабелем к ПД";
inline constexpr char kNoDriveList[] = "Остсутсвует соединение с ПД";
inline constexpr char kNoRemovableDrive[] = "Остсутсвует диск ПД";
inline constexpr char kSelectDrive[] = "Выберите диск ПД";
inline constexpr char kPdCfg[] = "pd.cfg";

// The three lines the file manager's log shows before the upload of "pd.cfg".
inline constexpr char kPdCfgLine1[] = "Обновление конфигурации ПД";
inline constexpr char kPdCfgLine2[] = "После загрузки файла конфигурации на ПД,";
inline constexpr char kPdCfgLine3[] = "перезагрузите ПД";

// Firmware update.
inline constexpr char kFileMissing[] = "Файл отсутствует";
inline constexpr char kBadAddress[] = "Ошибка в адресе";
inline constexpr char kBinFilter[] = "*.bin|*.bin";
// What InputFile returns when its dialog was not closed with OK.
inline constexpr char kInputFileCancel[] = "INPUTFILE_CANCEL";

// The progress window of a running write.
inline constexpr char kProgressTitle[] = "Запись проекта в TALVIK";
inline constexpr char kProgressDone[] = "Отправлено команд";
} // namespace NetworkWriteText
