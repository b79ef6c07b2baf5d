#pragma once
// The file manager's own texts, letter for letter: its log lines, its questions and its
// message boxes. "Загружен файл c ошибками контрольной суммы" carries a Latin c, as the
// users' manuals print it.

namespace FileManagerText {
// Log lines of the window's own log.
inline constexpr char kNoReply[] = "Нет ответа от устройства";
inline constexpr char kUploadDone[] = "Загрузка файла успешно";
inline constexpr char kDownloadEnded[] = "Загрузка файла закончена";
inline constexpr char kDownloadSumOk[] = "Загрузка файла успешна без ошибок";
inline constexpr char kDownloadSumBad[] = "Загружен файл c ошибками контрольной суммы"; // Latin c
inline constexpr char kFormatDone[] = "Форматирование успешно";
inline constexpr char kDeleteDone[] = "Удаление файла успешно";
inline constexpr char kRebooting[] = "Перезагрузка. Подождите 60 секунд";
inline constexpr char kRebootDone[] = "Перезагрузка успешно. Подождите 60 секунд";
// Our own wording: reading the local file failed half-way, so the device got a cut file.
inline constexpr char kUploadReadError[] = "Ошибка чтения файла, загрузка прервана";
// Our own wording: the complete download could not be put under the chosen name.
inline constexpr char kDownloadSaveError[] = "Ошибка записи файла";

// Message boxes.
inline constexpr char kCannotOpenUpload[] = "Не могу открыть файл";
inline constexpr char kCannotCreateDownload[] = "Ошибка открытия файла";
// Our own wording: the device keeps names in Windows-1251, which has no such letters.
inline constexpr char kNameNotCp1251[] =
    "Название файла содержит символы, которых нет в кодировке устройства (Windows-1251). Команда не отправлена: ";
inline constexpr char kFormatCaption[] = "Менеджер устройства";
inline constexpr char kFormatQuestion[] = "Форматировать Flash?";
inline constexpr char kNameCaption[] = "Введите название файла";
inline constexpr char kDeletePrompt[] = "Введите параметр";
// Our own wording for the download dialog's prompt.
inline constexpr char kDownloadPrompt[] = "Введите название файла на устройстве";

// The window.
inline constexpr char kCaption[] = "Файловый менеджер";
inline constexpr char kList[] = "Получить список файлов";
inline constexpr char kDelete[] = "Удалить файл";
inline constexpr char kUpload[] = "Загрузить файл";
inline constexpr char kFormat[] = "Форматировать диск";
inline constexpr char kReboot[] = "Перезагрузить";
inline constexpr char kDownload[] = "Скачать файл";
inline constexpr char kClose[] = "&Закрыть";
inline constexpr char kLeft[] = "Осталось";
inline constexpr char kSeconds[] = "секунд";
} // namespace FileManagerText
