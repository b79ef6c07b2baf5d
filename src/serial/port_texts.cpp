#include "port_texts.h"

#include "serial_device.h"

QString OpenFailureText(int comNumber, OpenError error, const QString &path) {
    const QString head = QStringLiteral("Не удалось открыть порт COM%1").arg(comNumber);
    const QString where = path.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(path);
    switch (error) {
    case OpenError::None:
        return {};
    case OpenError::NotFound:
        return head + QStringLiteral(": устройство не найдено") + where;
    case OpenError::Busy:
        return head + QStringLiteral(": порт занят другой программой") + where;
    case OpenError::AccessDenied:
        return head + QStringLiteral(": нет доступа") + where +
               QStringLiteral(". Добавьте пользователя в группу dialout (sudo usermod -aG dialout $USER) "
                              "и войдите в систему заново");
    case OpenError::Other:
        break;
    }
    return head + QStringLiteral(": это не последовательный порт или он не отвечает") + where;
}

QString DeviceGoneText(int comNumber) {
    return QStringLiteral("Порт COM%1 закрыт: устройство отключено. Порт откроется сам, когда устройство "
                          "появится снова")
        .arg(comNumber);
}

QString DeviceBackText(int comNumber) {
    return QStringLiteral("Порт COM%1 открыт снова: устройство подключено").arg(comNumber);
}
