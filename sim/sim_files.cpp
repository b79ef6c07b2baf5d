// File commands of a simulated device. Names travel in Windows-1251; the disk holds UTF-8.
#include <numeric>

#include "cp1251.h"
#include "frame.h"
#include "sim_network.h"
#include "sim_text.h"

using simtext::Bytes;

namespace {
// A device's flash is small; an announced size beyond it is refused up front.
constexpr uint64_t kDiskCapacity = 16u * 1024 * 1024;
// Raw bytes per DOWNLOAD_PART reply (16 + 512 payload bytes, well inside a frame).
constexpr size_t kDownloadPartBytes = 512;

// The name as the device's disk holds it, or nothing when it is no plain name.
std::optional<std::string> DiskName(std::string_view wire) {
    const std::string name = Cp1251ToUtf8(simtext::Trim(wire));
    if (!DeviceFolder::IsValidName(name))
        return std::nullopt;
    return name;
}

uint64_t ByteSum(const std::vector<uint8_t> &bytes) {
    return std::accumulate(bytes.begin(), bytes.end(), uint64_t(0));
}
}  // namespace

// One line per file, "name size", each ending in a line feed; as many as fit one frame.
SimNetwork::Reply SimNetwork::list(Device &dev) const {
    std::string out = "OK_LIST";
    for (const auto &e : dev.folder->list()) {
        std::string wire;
        if (!Utf8ToCp1251(e.name, wire))
            continue;
        std::string line = wire + " " + std::to_string(e.size) + "\n";
        if (out.size() + line.size() > kMaxFramePayload)
            break;
        out += line;
    }
    return Bytes(out);
}

SimNetwork::Reply SimNetwork::format(Device &dev) {
    dev.upload = {};
    dev.download = {};
    return Bytes(dev.folder->format() ? "OK_FORMAT" : "ERROR_FATFS");
}

SimNetwork::Reply SimNetwork::remove(Device &dev, std::string_view rest) {
    const auto name = DiskName(rest);
    if (!name)
        return Bytes("ERROR_FILE_NAME");
    if (!dev.folder->exists(*name))
        return Bytes("ERROR_OPEN_FILE");
    return Bytes(dev.folder->remove(*name) ? "OK_DELETE" : "ERROR_FATFS");
}

// "UPLOAD size:%d crc:%s file:%s". A missing crc: means the sender gave no sum to check.
SimNetwork::Reply SimNetwork::uploadStart(Device &dev, std::string_view rest) {
    dev.upload = {};
    const auto size = simtext::NumberAfter(rest, "size:");
    if (!size || *size > kDiskCapacity)
        return Bytes("ERROR_UPLOAD_FILE_SIZE");
    const size_t at = rest.find("file:");
    if (at == std::string_view::npos || simtext::Trim(rest.substr(at + 5)).empty())
        return Bytes("ERROR_UPLOAD_FILE_NAME");
    const auto name = DiskName(rest.substr(at + 5));
    if (!name)
        return Bytes("ERROR_FILE_NAME");
    const auto sum = simtext::NumberAfter(rest, "crc:");

    Upload &up = dev.upload;
    up.name = *name;
    up.size = *size;
    up.sum = sum.value_or(0);
    up.active = true;
    if (*size == 0) {
        // Nothing will follow: the empty file is complete at once.
        up.active = false;
        if (up.sum != 0)
            return Bytes("ERROR_UPLOAD_CRC_FILE");
        return Bytes(dev.folder->write(up.name, {}) ? "OK_UPLOAD_FINISH" : "ERROR_UPLOAD_WRITE_FILE");
    }
    up.data.reserve(size_t(*size));
    return Bytes("OK_UPLOAD");
}

// Parts carry no number: each is appended in arrival order. The file is written only when
// the announced size is reached and its byte sum matches, so a broken transfer leaves the
// old file in place.
SimNetwork::Reply SimNetwork::uploadPart(Device &dev, std::string_view data) {
    Upload &up = dev.upload;
    if (!up.active)
        return Bytes("ERROR_UPLOAD");
    up.data.insert(up.data.end(), data.begin(), data.end());
    if (up.data.size() < up.size)
        return Bytes("OK_UPLOAD_PART");
    Upload done = std::move(up);
    up = {};
    if (done.data.size() > done.size)
        return Bytes("ERROR_UPLOAD_FILE_SIZE");
    if (done.sum != 0 && ByteSum(done.data) != done.sum)
        return Bytes("ERROR_UPLOAD_CRC_FILE");
    if (!dev.folder->write(done.name, done.data))
        return Bytes("ERROR_UPLOAD_WRITE_FILE");
    return Bytes("OK_UPLOAD_FINISH");
}

// The configurator sends DOWNLOAD twice in a row; each one starts the file over, and the
// parts that follow are served from the start.
SimNetwork::Reply SimNetwork::downloadStart(Device &dev, std::string_view rest) {
    dev.download = {};
    const auto name = DiskName(rest);
    if (!name)
        return Bytes("ERROR_FILE_NAME");
    Download &down = dev.download;
    if (!dev.folder->read(*name, down.data))
        return Bytes("ERROR_OPEN_FILE");
    down.active = true;
    std::string wire;
    Utf8ToCp1251(*name, wire);  // came in as Windows-1251, so it goes back the same way
    return Bytes("OK_DOWNLOAD size:" + std::to_string(down.data.size()) +
                 " crc:" + std::to_string(ByteSum(down.data)) + " file:" + wire);
}

// Past the end a part is empty rather than an error: the configurator keeps one request
// more in flight than it needs (it answers both DOWNLOAD replies), and an empty part is
// taken quietly once its file is closed.
SimNetwork::Reply SimNetwork::downloadPart(Device &dev) {
    Download &down = dev.download;
    if (!down.active)
        return Bytes("ERROR_DOWNLOAD");
    const size_t n = std::min(kDownloadPartBytes, down.data.size() - down.pos);
    Reply out = Bytes("OK_DOWNLOAD_PART");
    out.insert(out.end(), down.data.begin() + long(down.pos), down.data.begin() + long(down.pos + n));
    down.pos += n;
    return out;
}
