// Test helper: reads an enhanced metafile back, checks each record with libUEMF's validator
// and gives typed access to the records the tests look at.
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" {
#include <uemf.h>
#include <uemf_safe.h>
}

struct EmfRecord {
    uint32_t type = 0;
    size_t offset = 0;  // in the file
    uint32_t size = 0;
};

struct EmfFile {
    std::vector<char> bytes;
    std::vector<EmfRecord> records;
    std::string problem;  // first structural problem found, empty when the file is sound

    bool Load(const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        if (!f) {
            problem = "cannot open " + path;
            return false;
        }
        bytes.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
        size_t off = 0;
        while (off < bytes.size()) {
            if (bytes.size() - off < 8) {
                problem = "truncated record at " + std::to_string(off);
                return false;
            }
            const auto* emr = reinterpret_cast<const U_EMR*>(bytes.data() + off);
            if (emr->nSize < 8 || emr->nSize % 4 != 0 || emr->nSize > bytes.size() - off) {
                problem = "bad record size " + std::to_string(emr->nSize) + " at " + std::to_string(off);
                return false;
            }
            if (!U_emf_record_safe(bytes.data() + off)) {
                problem = std::string("libUEMF rejects ") + U_emr_names(emr->iType) + " at " + std::to_string(off);
                return false;
            }
            records.push_back(EmfRecord{emr->iType, off, emr->nSize});
            off += emr->nSize;
        }
        if (records.empty() || records.front().type != U_EMR_HEADER) {
            problem = "the file does not start with a header";
            return false;
        }
        return true;
    }

    const U_EMRHEADER& Header() const { return *reinterpret_cast<const U_EMRHEADER*>(bytes.data()); }
    const char* At(const EmfRecord& r) const { return bytes.data() + r.offset; }
    template <class T>
    const T& As(const EmfRecord& r) const {
        return *reinterpret_cast<const T*>(bytes.data() + r.offset);
    }
    uint32_t Word(const EmfRecord& r, size_t byteOffset) const {
        uint32_t v;
        std::memcpy(&v, bytes.data() + r.offset + byteOffset, sizeof v);
        return v;
    }
    std::vector<EmfRecord> OfType(uint32_t type) const {
        std::vector<EmfRecord> out;
        for (const EmfRecord& r : records)
            if (r.type == type) out.push_back(r);
        return out;
    }
};

// The text and advances of an EXTTEXTOUTW record.
struct EmfText {
    U_POINTL reference{};
    uint32_t options = 0;
    std::vector<uint16_t> units;  // UTF-16LE code units
    std::vector<int32_t> dx;
};

inline EmfText ReadText(const EmfFile& f, const EmfRecord& r) {
    EmfText t;
    const auto& rec = f.As<U_EMREXTTEXTOUTW>(r);
    t.reference = rec.emrtext.ptlReference;
    t.options = rec.emrtext.fOptions;
    const char* base = f.At(r);
    t.units.resize(rec.emrtext.nChars);
    std::memcpy(t.units.data(), base + rec.emrtext.offString, rec.emrtext.nChars * 2);
    size_t dxField = offsetof(U_EMREXTTEXTOUTW, emrtext) + sizeof(U_EMRTEXT);
    if (!(rec.emrtext.fOptions & U_ETO_NO_RECT)) dxField += sizeof(U_RECTL);
    uint32_t offDx;
    std::memcpy(&offDx, base + dxField, sizeof offDx);
    t.dx.resize(rec.emrtext.nChars);
    std::memcpy(t.dx.data(), base + offDx, rec.emrtext.nChars * 4);
    return t;
}

// B, G, R of pixel (x, y) (y down) of a bitmap embedded in a record.
inline std::vector<uint8_t> EmbeddedPixel(const EmfFile& f, const EmfRecord& r, uint32_t offBmi, uint32_t offBits,
                                          int x, int y) {
    const char* base = f.At(r);
    U_BITMAPINFOHEADER h;
    std::memcpy(&h, base + offBmi, sizeof h);
    const int stride = ((h.biBitCount * h.biWidth + 31) / 32) * 4;
    const int rows = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    const int stored = h.biHeight < 0 ? y : rows - 1 - y;
    const auto* p = reinterpret_cast<const uint8_t*>(base + offBits) + static_cast<size_t>(stored) * stride +
                    static_cast<size_t>(x) * (h.biBitCount / 8);
    return {p[0], p[1], p[2]};
}
