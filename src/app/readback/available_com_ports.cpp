#include "available_com_ports.h"

#include <filesystem>
#include <system_error>

#include "app_paths.h"
#include "port_names.h"

std::vector<int> AvailableComPorts() {
    return ListComPorts(PortsDir());
}

QString DescribeComTarget(const std::string &target, bool present) {
    static const std::string kById = "/dev/serial/by-id/", kPts = "/dev/pts/";
    QString what;
    if (target.empty())
        return what;
    if (target.rfind(kById, 0) == 0)
        what = QString::fromStdString(target.substr(kById.size())); // names the adapter's maker and serial
    else if (target.rfind(kPts, 0) == 0)
        what = QStringLiteral("симулятор, ") + QString::fromStdString(target);
    else
        what = QString::fromStdString(target);
    if (!present)
        what += QStringLiteral(", не подключён");
    return what;
}

std::vector<QString> ComPortDescriptions(const std::vector<int> &ports) {
    std::vector<QString> out;
    out.reserve(ports.size());
    for (int n : ports) {
        const std::string target = ComLinkTarget(n, PortsDir());
        std::error_code ec;
        out.push_back(DescribeComTarget(target, std::filesystem::exists(target, ec)));
    }
    return out;
}
