#include "etc1/ETC1Hash.h"

#include <bit>

namespace ETC1Encoder {
namespace {

uint32_t WordAt(const uint8_t* bytes, int index) {
    const uint8_t* p = bytes + 4 * index;
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

uint32_t Rol(uint32_t x, int n) { return std::rotl(x, n); }
uint32_t Ror(uint32_t x, int n) { return std::rotr(x, n); }

struct MixState {
    uint32_t a, b, c, d, e, f;
};

// Stirs the first six words; the order of the steps is part of the hash.
void FirstPass(MixState& s) {
    auto& [a, b, c, d, e, f] = s;
    a -= Rol(b, 15);
    b -= Rol(c, 3);
    e -= a;
    c -= Rol(d, 9);
    f -= b;
    a -= c;
    d -= Ror(e, 9);
    b -= d;
    e -= Ror(f, 11);
    f -= Rol(a, 13);
    d -= Ror(a, 3) + f;
    c -= e;
    e -= Rol(b, 11);
    f -= Ror(c, 5);
    c -= e;
    e -= a;
    d -= f;
    b -= Ror(e, 7);
    c -= Rol(f, 5);
    f -= b;
    a -= Ror(d, 13) + c;
    b -= Rol(f, 13) + d;
    d -= Rol(b, 3);
    b -= e;
    c -= Rol(a, 11) + f;
    e -= Ror(c, 1);
    f -= Ror(d, 15);
    a -= Ror(e, 13) + d;
    d -= a;
    e -= b;
    f -= c;
}

// Absorbs the last six words w6 to w11 into the state.
void SecondPass(MixState& s, const uint32_t* words) {
    auto& [a, b, c, d, e, f] = s;
    a -= words[6];
    f -= words[11];
    b -= words[7];
    a -= Ror(a, 13);
    c -= words[8];
    b -= Rol(b, 13);
    e -= words[10];
    c -= Rol(c, 11) + e;
    d -= words[9] + f;
    e -= a;
    d -= Rol(d, 3);
    f -= Ror(f, 15) + b;
    a -= c;
    b -= d;
    d -= Ror(a, 3);
    e -= Ror(e, 1) + Rol(b, 11);
    f -= Ror(c, 5);
    a -= Ror(d, 13) + d;
    b -= Ror(e, 7) + e;
    c -= Rol(f, 5) + f;
    d -= Ror(b, 2) + a;
    e -= Ror(c, 4) + b;
    f -= Rol(d, 8) + c;
    b -= d;
    a -= Ror(e, 8);
}

}  // namespace

void HashETC1Block(const uint8_t* block, uint64_t& key, uint64_t& hash) {
    uint32_t words[12];
    for (int i = 0; i < 12; ++i) words[i] = WordAt(block, i);

    MixState s{words[0], words[1], words[2], words[3], words[4], words[5]};
    FirstPass(s);
    uint32_t x = s.a - s.e;
    uint32_t y = s.e + s.b;
    uint32_t z = s.f + s.c;
    uint32_t w = s.d - s.f;

    SecondPass(s, words);
    x -= s.d;
    y += s.f - s.c + Ror(s.a, 12) + s.e;
    z += (s.e - s.b) + Rol(s.f, 2);
    w -= s.e + s.a;

    uint64_t p = uint64_t{y} << 32 | x;
    uint64_t q = uint64_t{w} << 32 | z;
    key = p - q;
    hash = p + q;
}

}  // namespace ETC1Encoder
