#include "node_text.h"

#include "app_texts.h"
#include "text_utils.h"

std::string PdNodeText(int adr) { return std::string(kPdPrefix) + std::to_string(adr); }

std::string BcNodeText(int adr) { return std::string(kBcPrefix) + std::to_string(adr); }

std::string AlNodeText(int prt, int zone) {
    return std::string(kAlPrefix) + std::to_string(prt) + ":" + kZonePrefix + std::to_string(zone);
}

NodeKind NodeKindOfText(const std::string &text) {
    if (text.find(kPdPrefix) != std::string::npos)
        return NodeKind::Pd;
    if (text.find(kBcPrefix) != std::string::npos)
        return NodeKind::Bc;
    if (text.find(kAlPrefix) != std::string::npos)
        return NodeKind::Al;
    return NodeKind::None;
}

int NumberAfterPrefix(const std::string &text, const char *prefix) {
    const size_t at = text.find(prefix);
    if (at == std::string::npos)
        return 0;
    const std::string rest = text.substr(at + std::char_traits<char>::length(prefix));
    // TextToInt would skip ahead to a later number ("АЛ:x:Зона:5" must not read 5).
    if (rest.empty() || rest[0] < '0' || rest[0] > '9')
        return 0;
    return TextToInt(rest.c_str());
}
