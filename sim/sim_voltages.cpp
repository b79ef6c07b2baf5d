// Measured voltages: the reference value the project holds (or a typical one when it holds
// none), plus a small drift that wanders between readings as a real measurement does.
#include <algorithm>
#include <cstdio>

#include "sim_network.h"
#include "sim_text.h"

using simtext::Bytes;

namespace {
constexpr double kStep = 0.05;      // largest change between two readings, volts
constexpr double kMaxDrift = 0.3;   // the drift stays this close to the base value
constexpr double kLineVolts = 12.0;
constexpr double kAlConnected = 9.6, kAlStandby = 11.8, kAlSpeaker = 3.3;
constexpr double kAlButtonConnected = 7.2, kAlButtonStandby = 10.4;

double Or(double value, double typical) { return value > 0 ? value : typical; }

// One decimal behind a ':' each: the configurator reads the number after every ':'.
std::string Values(std::initializer_list<double> values) {
    std::string out;
    char buf[32];
    for (double v : values) {
        std::snprintf(buf, sizeof buf, ":%.1f", v);
        out += buf;
    }
    return out;
}
}  // namespace

double SimNetwork::measure(Device &dev, int channel, double base) {
    double &d = dev.drift[channel];
    d += std::uniform_real_distribution<double>(-kStep, kStep)(m_rng);
    d = std::clamp(d, -kMaxDrift, kMaxDrift);
    return std::max(0.0, base + d);
}

SimNetwork::Reply SimNetwork::ubVolt(Device &dev) {
    return Bytes("OK_UBVOLT" + Values({measure(dev, 0, Or(m_project->settings.ubs, kLineVolts))}));
}

// EAST first, then WEST.
SimNetwork::Reply SimNetwork::elwlVolts(uint8_t adr, Device &dev) {
    const BcUnit *unit = FindBcUnit(*m_project, adr);
    const double east = unit ? Or(unit->ube, kLineVolts) : kLineVolts;
    const double west = unit ? Or(unit->ubw, kLineVolts) : kLineVolts;
    return Bytes("OK_ELWLVOLTS" + Values({measure(dev, 1, east), measure(dev, 2, west)}));
}

void SimNetwork::setButtonHeld(uint8_t bcAdr, uint16_t prt, bool held) {
    if (held)
        m_buttonHeld.insert({bcAdr, prt});
    else
        m_buttonHeld.erase({bcAdr, prt});
}

// Connected, standby, loudspeaker; with the subscriber's button held, the line's other
// state. A port without a line measures nothing.
SimNetwork::Reply SimNetwork::alVolts(uint8_t adr, Device &dev, std::string_view rest) {
    const auto prt = simtext::WholeNumber(rest);
    if (!prt || *prt < 1 || *prt > 16)
        return Bytes("ERROR_PARAMS");
    const AlLine *line = FindAlLine(*m_project, adr, uint16_t(*prt));
    if (!line)
        return Bytes("OK_ALVOLTS" + Values({0.0, 0.0, 0.0}));
    const int ch = 10 + int(*prt) * 5;
    if (m_buttonHeld.count({adr, uint16_t(*prt)}))
        return Bytes("OK_ALVOLTS" + Values({measure(dev, ch + 3, Or(line->ukn, kAlButtonConnected)),
                                            measure(dev, ch + 4, Or(line->tuk, kAlButtonStandby)),
                                            measure(dev, ch + 2, Or(line->usp, kAlSpeaker))}));
    return Bytes("OK_ALVOLTS" + Values({measure(dev, ch, Or(line->uvp, kAlConnected)),
                                        measure(dev, ch + 1, Or(line->tuv, kAlStandby)),
                                        measure(dev, ch + 2, Or(line->usp, kAlSpeaker))}));
}
