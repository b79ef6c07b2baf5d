#include "firmware_update.h"

const FirmwareTexts &FirmwareTextsFor(FirmwareTarget target) {
    static const FirmwareTexts pd{"Введите адрес ПД", "Обновление ПО ПД", "После загрузки файла обновления на ПД,",
                                  "перезагрузите ПД", "pd.bin"};
    static const FirmwareTexts bc{"Введите адрес БС", "Обновление ПО БС", "После загрузки файла обновления на БС,",
                                  "перезагрузите БС", "bc.bin"};
    return target == FirmwareTarget::Pd ? pd : bc;
}

int FirmwareAddressFromText(const QString &text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 9)
        return 0; // nine digits cannot overflow, and no address needs more than three
    for (const QChar c : t)
        if (c < '0' || c > '9')
            return 0;
    return t.toInt();
}

bool IsValidFirmwareAddress(int address) {
    return address > 0 && address <= 254;
}
