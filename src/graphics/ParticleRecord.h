// The ".psi" particle file record: 32 little-endian fields of 4 bytes, in the
// order below. One field list serves the game's reader and the content tool
// that writes the files (tools/psigen.cpp), so the two cannot drift apart.
// Header-only and free of the engine, so the tool can include it alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

struct ParticleRecord {
    // Field 0 held a sprite pointer when the format was made: written 0, never read.
    int32_t emission = 0;  // particles per second
    float lifetime = -1;   // seconds of emission, -1 endless
    float lifeMin = 1, lifeMax = 1;
    float direction = 0, spread = 0;  // radians, 0 points up the screen
    bool relative = false;            // one byte and three padding bytes
    float speedMin = 0, speedMax = 0;
    float gravityMin = 0, gravityMax = 0;
    float radialMin = 0, radialMax = 0;
    float tangentialMin = 0, tangentialMax = 0;
    float sizeStart = 1, sizeEnd = 1, sizeVar = 0;
    float spinStart = 0, spinEnd = 0, spinVar = 0;
    float colorStart[4] = {1, 1, 1, 1};  // r, g, b, a in 0..1
    float colorEnd[4] = {1, 1, 1, 0};
    float colorVar = 0, alphaVar = 0;

    static const size_t kSize = 128;

    // The fields in file order, for a reader or a writer.
    template <class Io, class Record>
    static void Walk(Io& io, Record& r) {
        io.Skip();
        io.Int(r.emission);
        for (auto* f : {&r.lifetime, &r.lifeMin, &r.lifeMax, &r.direction, &r.spread}) io.Float(*f);
        io.Flag(r.relative);
        for (auto* f : {&r.speedMin, &r.speedMax, &r.gravityMin, &r.gravityMax, &r.radialMin, &r.radialMax,
                        &r.tangentialMin, &r.tangentialMax, &r.sizeStart, &r.sizeEnd, &r.sizeVar, &r.spinStart,
                        &r.spinEnd, &r.spinVar})
            io.Float(*f);
        for (auto& f : r.colorStart) io.Float(f);
        for (auto& f : r.colorEnd) io.Float(f);
        io.Float(r.colorVar);
        io.Float(r.alphaVar);
    }

    // False (record untouched) when fewer than kSize bytes are given; bytes
    // past the record are ignored.
    static bool Decode(const void* data, size_t size, ParticleRecord* out) {
        if (!data || !out || size < kSize) return false;
        Reader reader{static_cast<const unsigned char*>(data)};
        ParticleRecord r;
        Walk(reader, r);
        *out = r;
        return true;
    }

    std::vector<uint8_t> Encode() const {
        Writer writer;
        ParticleRecord copy = *this;
        Walk(writer, copy);
        return writer.bytes;
    }

private:
    struct Reader {
        const unsigned char* p;
        uint32_t U32() {
            const uint32_t v = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
            p += 4;
            return v;
        }
        void Skip() { p += 4; }
        void Int(int32_t& v) { v = int32_t(U32()); }
        void Float(float& v) {
            const uint32_t bits = U32();
            std::memcpy(&v, &bits, sizeof v);
        }
        void Flag(bool& v) {
            v = p[0] != 0;
            p += 4;
        }
    };
    struct Writer {
        std::vector<uint8_t> bytes;
        void U32(uint32_t v) {
            for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t((v >> (8 * i)) & 0xFF));
        }
        void Skip() { U32(0); }
        void Int(int32_t& v) { U32(uint32_t(v)); }
        void Float(float& v) {
            uint32_t bits;
            std::memcpy(&bits, &v, sizeof bits);
            U32(bits);
        }
        void Flag(bool& v) { U32(v ? 1u : 0u); }
    };
};
