// The version record (VS_VERSIONINFO) of RT_VERSION: writing and reading.
#include <functional>

#include "generator/Bytes.h"
#include "generator/ResourceFiles.h"
#include "generator/TextEncoding.h"

namespace vexal {
namespace gen {

namespace {

constexpr std::uint32_t kFixedSignature = 0xFEEF04BDu;
constexpr std::uint16_t kBinary = 0, kText = 1;
const char* const kStringTableKey = "040904B0";     // US English, Unicode
constexpr std::uint32_t kTranslation = 0x04B00409;  // the same as language, code page

void pad4(std::string& out) {
    while (out.size() % 4) out.push_back('\0');
}

void appendUtf16(std::string& out, const std::u16string& text) {
    for (char16_t c : text) append16(out, c);
    append16(out, 0);
}

std::u16string wide(const std::string& utf8) {
    std::u16string out;
    utf8ToUtf16(utf8, out);
    return out;
}

// One node: length, value length, type, key, padding, value, padding,
// children (each 4-byte aligned). The length counts no trailing padding.
std::string node(const std::string& key, const std::string& value, std::uint16_t valueLength, std::uint16_t type,
                 const std::vector<std::string>& children = {}) {
    std::string out(6, '\0');
    appendUtf16(out, wide(key));
    pad4(out);
    out += value;
    for (const auto& child : children) {
        pad4(out);
        out += child;
    }
    put16(out, 0, static_cast<std::uint16_t>(out.size()));
    put16(out, 2, valueLength);
    put16(out, 4, type);
    return out;
}

std::string textNode(const std::string& key, const std::string& value) {
    std::string data;
    std::u16string text = wide(value);
    appendUtf16(data, text);
    return node(key, data, static_cast<std::uint16_t>(text.size() + 1), kText);
}

std::string fixedInfo(const VersionFields& fields) {
    std::uint32_t fileHigh = 0, fileLow = 0, productHigh = 0, productLow = 0;
    parseVersionNumber(fields.fileVersion, fileHigh, fileLow);
    parseVersionNumber(fields.productVersion, productHigh, productLow);
    std::string out;
    for (std::uint32_t value : {kFixedSignature, 0x00010000u, fileHigh, fileLow, productHigh, productLow,
                                0x3Fu,        // flags mask
                                0u,           // flags: none
                                0x00040004u,  // Windows NT, 32-bit Windows API
                                1u,           // an application
                                0u, 0u, 0u})  // subtype, no date
        append32(out, value);
    return out;
}

struct Node {
    std::string key;
    std::size_t valueAt = 0, valueLength = 0;
    std::uint16_t type = 0;
    std::vector<Node> children;
};

bool readNode(const std::string& data, std::size_t at, std::size_t limit, Node& out, int depth) {
    if (depth > 4 || at + 6 > limit) return false;
    std::size_t length = get16(data, at);
    if (length < 6 || at + length > limit) return false;
    std::size_t end = at + length;
    out.type = get16(data, at + 4);
    std::size_t valueWords = get16(data, at + 2);
    std::size_t p = at + 6;
    std::u16string key;
    while (p + 2 <= end && get16(data, p) != 0) {
        key.push_back(get16(data, p));
        p += 2;
    }
    if (p + 2 > end) return false;
    p = align(static_cast<std::uint32_t>(p + 2 - at), 4) + at;
    out.key = utf16ToUtf8(key);
    out.valueAt = p;
    out.valueLength = out.type == kText ? valueWords * 2 : valueWords;
    if (p + out.valueLength > end) out.valueLength = p <= end ? end - p : 0;
    p = align(static_cast<std::uint32_t>(p + out.valueLength - at), 4) + at;
    while (p + 6 <= end) {
        Node child;
        if (!readNode(data, p, end, child, depth + 1)) return false;
        std::size_t childLength = get16(data, p);
        out.children.push_back(std::move(child));
        p = align(static_cast<std::uint32_t>(p + childLength - at), 4) + at;
    }
    return true;
}

std::string textValue(const std::string& data, const Node& node) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < node.valueLength; i += 2) {
        char16_t c = get16(data, node.valueAt + i);
        if (c == 0) break;
        text.push_back(c);
    }
    return utf16ToUtf8(text);
}

}  // namespace

bool parseVersionNumber(const std::string& text, std::uint32_t& high, std::uint32_t& low) {
    std::uint32_t parts[4] = {0, 0, 0, 0};
    std::size_t count = 0, start = 0;
    while (true) {
        std::size_t end = text.find('.', start);
        std::string part = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (count == 4 || part.empty() || part.size() > 5 || part.find_first_not_of("0123456789") != std::string::npos) return false;
        parts[count] = static_cast<std::uint32_t>(std::stoul(part));
        if (parts[count++] > 65535) return false;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    high = parts[0] << 16 | parts[1];
    low = parts[2] << 16 | parts[3];
    return true;
}

std::string versionNumberText(std::uint32_t high, std::uint32_t low) {
    return std::to_string(high >> 16) + "." + std::to_string(high & 0xFFFF) + "." + std::to_string(low >> 16) + "." +
           std::to_string(low & 0xFFFF);
}

std::string versionRecord(const VersionFields& fields) {
    std::vector<std::string> strings;
    for (const auto& [name, value] : fields.strings) {
        if (!value.empty()) strings.push_back(textNode(name, value));
    }
    std::string table = node(kStringTableKey, "", 0, kText, strings);
    std::string stringInfo = node("StringFileInfo", "", 0, kText, {table});
    std::string translation;
    append32(translation, kTranslation);
    std::string var = node("Translation", translation, 4, kBinary);
    std::string varInfo = node("VarFileInfo", "", 0, kText, {var});
    std::string fixed = fixedInfo(fields);
    return node("VS_VERSION_INFO", fixed, static_cast<std::uint16_t>(fixed.size()), kBinary, {stringInfo, varInfo});
}

bool parseVersionRecord(const std::string& data, VersionInfo& info) {
    Node root;
    if (!readNode(data, 0, data.size(), root, 0) || root.key != "VS_VERSION_INFO") return false;
    if (root.valueLength >= 52 && get32(data, root.valueAt) == kFixedSignature) {
        info.fileHigh = get32(data, root.valueAt + 8);
        info.fileLow = get32(data, root.valueAt + 12);
        info.productHigh = get32(data, root.valueAt + 16);
        info.productLow = get32(data, root.valueAt + 20);
    }
    for (const Node& child : root.children) {
        if (child.key != "StringFileInfo") continue;
        for (const Node& table : child.children)
            for (const Node& entry : table.children) info.strings.emplace_back(entry.key, textValue(data, entry));
    }
    return true;
}

}  // namespace gen
}  // namespace vexal
