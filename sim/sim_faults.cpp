#include "sim_faults.h"

bool FaultInjector::chance(double share) {
    if (share <= 0)
        return false;
    return std::uniform_real_distribution<double>(0.0, 1.0)(m_rng) < share;
}

FaultInjector::Shaped FaultInjector::shape(const std::vector<uint8_t> &frame, std::string_view payload) {
    Shaped out;
    const bool wordMatches = !m_s.dropWord.empty() && payload.substr(0, m_s.dropWord.size()) == m_s.dropWord;
    if (wordMatches && m_droppedByWord < m_s.dropWordCount) {
        ++m_droppedByWord;
        out.dropped = true;
        return out;
    }
    if (chance(m_s.dropShare)) {
        out.dropped = true;
        return out;
    }
    std::vector<uint8_t> bytes;
    if (chance(m_s.noiseShare)) {
        out.noise = std::uniform_int_distribution<size_t>(1, kMaxNoise)(m_rng);
        for (size_t i = 0; i < out.noise; ++i)
            bytes.push_back(uint8_t(std::uniform_int_distribution<int>(0, 255)(m_rng)));
    }
    const size_t frameAt = bytes.size();
    bytes.insert(bytes.end(), frame.begin(), frame.end());
    if (!frame.empty() && chance(m_s.corruptShare)) {
        const size_t at = frameAt + std::uniform_int_distribution<size_t>(0, frame.size() - 1)(m_rng);
        bytes[at] ^= uint8_t(std::uniform_int_distribution<int>(1, 255)(m_rng));
        out.corrupted = true;
    }
    if (m_s.splitBytes == 0 || bytes.size() <= m_s.splitBytes) {
        out.pieces.push_back({std::move(bytes), {}});
        return out;
    }
    for (size_t at = 0; at < bytes.size(); at += m_s.splitBytes) {
        const size_t end = std::min(bytes.size(), at + m_s.splitBytes);
        out.pieces.push_back({{bytes.begin() + long(at), bytes.begin() + long(end)},
                              at == 0 ? std::chrono::milliseconds(0) : m_s.splitGap});
    }
    return out;
}
