#pragma once
// Line faults on demand, drawn from a seeded generator so that a failing run can be
// repeated exactly: lost replies, a damaged byte, junk between frames, replies that
// arrive in small pieces.
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

struct FaultSettings {
    double dropShare = 0;     // share of replies never sent (0..1)
    double corruptShare = 0;  // share of replies with one byte changed
    double noiseShare = 0;    // share of replies preceded by 1..kMaxNoise junk bytes
    size_t splitBytes = 0;    // when above 0, replies go out in pieces of at most this many bytes
    std::chrono::milliseconds splitGap{0};  // pause between those pieces
    uint32_t seed = 1;
    // The first `dropWordCount` replies whose payload begins with `dropWord` are never sent
    // ("OK_UPLOAD_PART" and 4: a part and its three resends all go unanswered).
    std::string dropWord;
    size_t dropWordCount = 0;
};

class FaultInjector {
public:
    static constexpr size_t kMaxNoise = 8;

    explicit FaultInjector(const FaultSettings &s) : m_s(s), m_rng(s.seed) {}

    struct Piece {
        std::vector<uint8_t> bytes;
        std::chrono::milliseconds gapBefore{0};
    };
    struct Shaped {
        std::vector<Piece> pieces;  // empty when the reply is dropped
        bool dropped = false;
        bool corrupted = false;
        size_t noise = 0;
    };
    // What goes on the line for one reply frame carrying `payload`.
    Shaped shape(const std::vector<uint8_t> &frame, std::string_view payload = {});

private:
    bool chance(double share);

    FaultSettings m_s;
    std::mt19937 m_rng;
    size_t m_droppedByWord = 0;
};
