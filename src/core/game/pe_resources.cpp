#include "core/game/pe_resources.h"

#include "core/game/byte_reader.h"
#include "core/platform/error.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace zeilwerk {
namespace {

constexpr const char* kDamaged = "Die Ressourcen der EXE-Datei sind beschädigt";
constexpr std::uint32_t kBitmapType = 2;
constexpr std::uint32_t kVersionType = 16;
constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr unsigned kMaxSections = 96;

struct Section {
    std::uint32_t address = 0, virtualSize = 0, rawSize = 0, rawAt = 0;
};

// Where an RVA lies in the file, and how many of the section's bytes follow it there.
std::optional<std::string_view> mapRva(const ByteReader& file, const std::vector<Section>& sections, std::uint32_t rva) {
    for (const Section& s : sections) {
        const std::uint64_t span = std::max(s.virtualSize, s.rawSize);
        if (rva < s.address || rva - s.address >= span)
            continue;
        const std::uint64_t into = rva - s.address;
        if (into >= s.rawSize || !file.has(s.rawAt, 0))
            return std::nullopt;  // in memory only, not stored in the file
        const std::uint64_t end = std::min<std::uint64_t>(std::uint64_t(s.rawAt) + s.rawSize, file.size());
        if (s.rawAt + into >= end)
            return std::nullopt;
        return file.bytes().substr(s.rawAt + into, end - s.rawAt - into);
    }
    return std::nullopt;
}

char16_t upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c;
}

// "#123" names a numbered resource.
std::optional<std::uint32_t> numberedName(std::u16string_view name) {
    if (name.size() < 2 || name.size() > 6 || name[0] != u'#')
        return std::nullopt;
    std::uint32_t id = 0;
    for (char16_t c : name.substr(1)) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        id = id * 10 + (c - u'0');
    }
    return id;
}

struct Entry {
    std::uint32_t name = 0, target = 0;
};

// The entries of one directory of the resource tree: named ones first, then numbered.
std::vector<Entry> directoryEntries(const ByteReader& rsrc, std::uint32_t at) {
    const std::uint64_t count = std::uint64_t(rsrc.u16(at + 12)) + rsrc.u16(at + 14);
    rsrc.require(rsrc.has(at + 16, 8 * count));
    std::vector<Entry> entries;
    for (std::uint64_t i = 0; i < count; ++i)
        entries.push_back({rsrc.u32(at + 16 + 8 * i), rsrc.u32(at + 20 + 8 * i)});
    return entries;
}

bool sameName(const ByteReader& rsrc, const Entry& entry, std::u16string_view wanted) {
    if (!(entry.name & kHighBit)) {
        const auto id = numberedName(wanted);
        return id && *id == entry.name;
    }
    const std::uint32_t at = entry.name & ~kHighBit;
    const unsigned length = rsrc.u16(at);
    if (length != wanted.size())
        return false;
    for (unsigned i = 0; i < length; ++i)
        if (upper(char16_t(rsrc.u16(at + 2 + 2 * std::uint64_t(i)))) != upper(wanted[i]))
            return false;
    return true;
}

// The data of the first resource of that type whose name matches, first language found.
template <typename Matches>
std::optional<std::string> readPeResource(std::string_view exe, std::uint32_t wantedType, Matches&& matches) {
    const ByteReader file(exe, kDamaged);
    if (exe.substr(0, 2) != "MZ" || !file.has(0x3C, 4))
        return std::nullopt;
    const std::uint64_t pe = file.u32(0x3C);
    if (!file.has(pe, 24) || exe.substr(pe, 4) != std::string_view("PE\0\0", 4))
        return std::nullopt;
    const unsigned sectionCount = file.u16(pe + 6);
    const unsigned optionalSize = file.u16(pe + 20);
    const std::uint64_t optional = pe + 24;
    const unsigned magic = file.u16(optional);
    if (magic != 0x10b && magic != 0x20b)
        file.fail();
    // The data directories follow the optional header's fixed part; the resources are the third.
    const std::uint64_t directories = magic == 0x10b ? 96 : 112;
    if (directories + 24 > optionalSize || file.u32(optional + directories - 4) < 3)
        return std::nullopt;
    const std::uint32_t rsrcRva = file.u32(optional + directories + 16);
    if (rsrcRva == 0)
        return std::nullopt;
    file.require(sectionCount <= kMaxSections);
    std::vector<Section> sections;
    for (unsigned i = 0; i < sectionCount; ++i) {
        const std::uint64_t at = optional + optionalSize + 40 * i;
        sections.push_back({file.u32(at + 12), file.u32(at + 8), file.u32(at + 16), file.u32(at + 20)});
    }
    const auto rsrcBytes = mapRva(file, sections, rsrcRva);
    if (!rsrcBytes)
        file.fail();
    const ByteReader rsrc(*rsrcBytes, kDamaged);

    // Three levels, type → name → language, each entry pointing to the next directory and
    // the last to a data entry; a fixed depth, so a tree pointing back at itself ends too.
    const auto typeEntries = directoryEntries(rsrc, 0);
    const auto type = std::find_if(typeEntries.begin(), typeEntries.end(),
                                   [&](const Entry& e) { return e.name == wantedType; });
    if (type == typeEntries.end())
        return std::nullopt;
    rsrc.require(type->target & kHighBit);
    const auto nameEntries = directoryEntries(rsrc, type->target & ~kHighBit);
    const auto named = std::find_if(nameEntries.begin(), nameEntries.end(),
                                    [&](const Entry& e) { return matches(rsrc, e); });
    if (named == nameEntries.end())
        return std::nullopt;
    rsrc.require(named->target & kHighBit);
    const auto languages = directoryEntries(rsrc, named->target & ~kHighBit);
    rsrc.require(!languages.empty() && !(languages.front().target & kHighBit));
    const std::uint32_t dataEntry = languages.front().target;
    const auto data = mapRva(file, sections, rsrc.u32(dataEntry));
    const std::uint32_t size = rsrc.u32(dataEntry + 4);
    if (!data || data->size() < size)
        file.fail();
    return std::string(data->substr(0, size));
}

}  // namespace

std::optional<std::string> readPeBitmap(std::string_view exe, std::u16string_view name) {
    return readPeResource(exe, kBitmapType, [&](const ByteReader& rsrc, const Entry& e) { return sameName(rsrc, e, name); });
}

std::optional<PeVersion> readPeFileVersion(std::string_view exe) {
    const auto block = readPeResource(exe, kVersionType, [](const ByteReader&, const Entry&) { return true; });
    if (!block)
        return std::nullopt;
    // VS_VERSIONINFO: length, value length, type, the key "VS_VERSION_INFO", then on a
    // 4-byte boundary the fixed file information.
    constexpr std::u16string_view key = u"VS_VERSION_INFO";
    const std::size_t valueAt = (6 + 2 * (key.size() + 1) + 3) / 4 * 4;
    const ByteReader in(*block, kDamaged);
    if (!in.has(0, valueAt + 16) || in.u16(2) < 52)
        return std::nullopt;
    for (std::size_t i = 0; i < key.size(); ++i)
        if (in.u16(6 + 2 * i) != key[i])
            return std::nullopt;
    if (in.u32(valueAt) != 0xFEEF04BDu)
        return std::nullopt;
    const std::uint32_t high = in.u32(valueAt + 8), low = in.u32(valueAt + 12);
    return PeVersion{static_cast<int>(high >> 16), static_cast<int>(high & 0xFFFF), static_cast<int>(low >> 16),
                     static_cast<int>(low & 0xFFFF)};
}

std::string bitmapFileFromDib(std::string_view dib) {
    const ByteReader in(dib, "Das Bild der EXE-Datei ist beschädigt");
    const std::uint32_t headerSize = in.u32(0);
    std::uint64_t colours = 0, entrySize = 4, masks = 0;
    if (headerSize == 12) {
        // The old OS/2 header: RGB triples, as many as the bit count allows.
        const unsigned bits = in.u16(10);
        colours = bits <= 8 ? 1u << bits : 0;
        entrySize = 3;
    } else {
        in.require(headerSize >= 40);
        const unsigned bits = in.u16(14);
        const std::uint32_t compression = in.u32(16), used = in.u32(32);
        in.require(used <= 65536);
        colours = used ? used : bits <= 8 ? 1u << bits : 0;
        // With the plain header, bit-field masks follow it before the palette.
        if (headerSize == 40 && compression == 3)
            masks = 12;
        else if (headerSize == 40 && compression == 6)
            masks = 16;
    }
    const std::uint64_t pixels = 14 + std::uint64_t(headerSize) + masks + colours * entrySize;
    const std::uint64_t fileSize = 14 + in.size();
    in.require(pixels <= fileSize && fileSize <= 0xFFFFFFFFu);
    std::string file = "BM";
    for (std::uint32_t value : {std::uint32_t(fileSize), 0u, std::uint32_t(pixels)})
        for (int shift = 0; shift < 32; shift += 8)
            file += char((value >> shift) & 0xFF);
    file += dib;
    return file;
}

}  // namespace zeilwerk
