#include "config/ConfigBlock.h"

namespace vexal {

const char* blockErrorText(BlockError error) {
    switch (error) {
        case BlockError::Magic: return "Internal Error: magic";
        case BlockError::ReadInt: return "Internal Error: readInt";
        case BlockError::ReadString: return "Internal Error: readString";
        case BlockError::ReadWString: return "Internal Error: readWString";
        case BlockError::None: break;
    }
    return "";
}

namespace {

bool readExact(ByteSource& source, void* destination, std::size_t count) {
    auto* out = static_cast<unsigned char*>(destination);
    std::size_t done = 0;
    while (done < count) {
        std::size_t n = source.read(out + done, count - done);
        if (n == 0) return false;
        done += n;
    }
    return true;
}

// A length field is usable when it is not negative and the source still
// holds that many bytes; anything else is a read failure, never an
// allocation of the claimed size.
bool lengthFits(ByteSource& source, std::int32_t length) {
    if (length < 0) return false;
    std::uint64_t pos = source.position();
    std::uint64_t size = source.size();
    return pos <= size && static_cast<std::uint64_t>(length) <= size - pos;
}

}  // namespace

bool readInt(ByteSource& source, std::int32_t& value) {
    unsigned char b[4];
    if (!readExact(source, b, 4)) return false;
    std::uint32_t u = static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
                      static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
    value = static_cast<std::int32_t>(u);
    return true;
}

namespace {

// The text of a narrow value whose length has been read.
bool readStringBody(ByteSource& source, std::int32_t length, std::string& value) {
    if (!lengthFits(source, length)) return false;
    value.assign(static_cast<std::size_t>(length), '\0');
    return length == 0 || readExact(source, &value[0], value.size());
}

// The text of a wide value whose byte length has been read; an odd last
// byte is read and dropped.
bool readWStringBody(ByteSource& source, std::int32_t byteLength, std::u16string& value) {
    if (!lengthFits(source, byteLength)) return false;
    std::string bytes(static_cast<std::size_t>(byteLength), '\0');
    if (byteLength != 0 && !readExact(source, &bytes[0], bytes.size())) return false;
    value.assign(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < value.size(); ++i) {
        value[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return true;
}

}  // namespace

bool readString(ByteSource& source, std::string& value) {
    std::int32_t length = 0;
    return readInt(source, length) && readStringBody(source, length, value);
}

bool readWString(ByteSource& source, std::u16string& value) {
    std::int32_t byteLength = 0;
    return readInt(source, byteLength) && readWStringBody(source, byteLength, value);
}

BlockReadResult readConfigBlockAt(ByteSource& source, ConfigStore& store) {
    BlockReadResult result;
    auto failInt = [&]() {
        result.error = BlockError::ReadInt;
        result.lastError = source.lastError();
        return result;
    };
    std::int32_t magic = 0;
    if (!readInt(source, magic)) return failInt();
    if (static_cast<std::uint32_t>(magic) != kBlockMagic) {
        result.error = BlockError::Magic;
        return result;
    }
    std::int32_t count = 0;
    if (!readInt(source, count)) return failInt();
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t id = 0;
        std::int32_t length = 0;
        std::string value;
        // A file that ends inside the id or the length is a failed integer
        // read; only a value that is missing or cannot be held fails the text.
        if (!readInt(source, id) || !readInt(source, length)) return failInt();
        if (!readStringBody(source, length, value)) {
            result.error = BlockError::ReadString;
            return result;
        }
        store.setNarrow(id, std::move(value));
    }
    if (!readInt(source, count)) return failInt();
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t id = 0;
        std::int32_t byteLength = 0;
        std::u16string value;
        if (!readInt(source, id) || !readInt(source, byteLength)) return failInt();
        if (!readWStringBody(source, byteLength, value)) {
            result.error = BlockError::ReadWString;
            return result;
        }
        store.setWide(id, std::move(value));
    }
    result.blockEnd = source.position();
    return result;
}

BlockReadResult readConfigBlock(ByteSource& source, const BlockLocator& locator, ConfigStore& store) {
    std::int32_t sectionSize = 0;
    std::int32_t sectionPosition = 0;
    source.seek(locator.sizeFieldOffset);
    bool ok = readInt(source, sectionSize);
    source.seek(locator.positionFieldOffset);
    ok = ok && readInt(source, sectionPosition);
    if (!ok) {
        BlockReadResult result;
        result.error = BlockError::ReadInt;
        result.lastError = source.lastError();
        return result;
    }
    source.seek(static_cast<std::uint64_t>(static_cast<std::uint32_t>(sectionSize)) +
                static_cast<std::uint32_t>(sectionPosition));
    return readConfigBlockAt(source, store);
}

void appendInt32(std::string& out, std::int32_t value) {
    std::uint32_t u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

std::string writeConfigBlock(const ConfigStore& store) {
    std::string out;
    appendInt32(out, static_cast<std::int32_t>(kBlockMagic));
    appendInt32(out, static_cast<std::int32_t>(store.narrowEntries().size()));
    for (const auto& entry : store.narrowEntries()) {
        appendInt32(out, entry.first);
        appendInt32(out, static_cast<std::int32_t>(entry.second.size()));
        out += entry.second;
    }
    appendInt32(out, static_cast<std::int32_t>(store.wideEntries().size()));
    for (const auto& entry : store.wideEntries()) {
        appendInt32(out, entry.first);
        appendInt32(out, static_cast<std::int32_t>(entry.second.size() * 2));
        for (char16_t c : entry.second) {
            out.push_back(static_cast<char>(c & 0xFF));
            out.push_back(static_cast<char>(c >> 8));
        }
    }
    return out;
}

}  // namespace vexal
