#include "SessionPluginState.h"

#include "ArdourFixture.h"
#include "Base64.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

namespace fs = std::filesystem;

namespace ardourtest {

namespace {

constexpr std::string_view kChunkOpen = "<chunk", kChunkClose = "</chunk>";
constexpr std::string_view kStateDir = "state-dir=\"";
constexpr std::string_view kBankOpen = "<urn:zavr:grelmond#bank> \"\"\"", kLongQuote = "\"\"\"";

// The element Ardour writes the plug-in's own data into.
std::string_view elementOf(PluginFormat format)
{
    switch (format) {
    case PluginFormat::Vst2:
        return "<lxvst ";
    case PluginFormat::Vst3:
        return "<vst3 ";
    default:
        return "<lv2 ";
    }
}

// Where the text between the element's <chunk ...> and </chunk> lies.
bool findChunk(std::string_view session, std::string_view element, std::size_t& at, std::size_t& size)
{
    const auto open = session.find(kChunkOpen, session.find(element));
    const auto start = open == std::string_view::npos ? open : session.find('>', open);
    const auto end = start == std::string_view::npos ? start : session.find(kChunkClose, start);
    if (end == std::string_view::npos)
        return false;
    at = start + 1;
    size = end - at;
    return true;
}

// A VST 3 preset image: a header, the streams, then a list naming each
// stream by a four-letter id with its offset and size (little-endian).
constexpr std::size_t kHeaderSize = 48, kListOffsetAt = 40, kEntrySize = 20;

std::uint64_t littleEndian(std::string_view bytes, std::size_t at, int count)
{
    std::uint64_t v = 0;
    for (int k = count - 1; k >= 0; --k)
        v = v << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(k)]);
    return v;
}

void appendLittleEndian(std::string& out, std::uint64_t v, int count)
{
    for (int k = 0; k < count; ++k)
        out += static_cast<char>((v >> (8 * k)) & 0xff);
}

struct Stream {
    std::string id;
    std::string data;
};

std::optional<std::vector<Stream>> streamsOf(std::string_view image)
{
    if (image.size() < kHeaderSize || image.substr(0, 4) != "VST3")
        return std::nullopt;
    const std::uint64_t list = littleEndian(image, kListOffsetAt, 8);
    if (list > image.size() || image.size() - list < 8 || image.substr(list, 4) != "List")
        return std::nullopt;
    const std::uint64_t count = littleEndian(image, list + 4, 4);
    if ((image.size() - list - 8) / kEntrySize < count)
        return std::nullopt;
    std::vector<Stream> streams;
    for (std::uint64_t k = 0; k < count; ++k) {
        const std::size_t entry = list + 8 + k * kEntrySize;
        const std::uint64_t offset = littleEndian(image, entry + 4, 8), size = littleEndian(image, entry + 12, 8);
        if (offset > list || list - offset < size)
            return std::nullopt;
        streams.push_back({std::string(image.substr(entry, 4)), std::string(image.substr(offset, size))});
    }
    return streams;
}

std::string componentOf(const std::vector<Stream>& streams)
{
    for (const auto& s : streams)
        if (s.id == "Comp")
            return s.data;
    return {};
}

// The image with every stream that held the component's state (the
// controller's holds the same here) holding state instead.
std::string replacedImage(std::string_view image, const std::vector<Stream>& streams, const std::string& state)
{
    const std::string old = componentOf(streams);
    std::string out(image.substr(0, kListOffsetAt));
    appendLittleEndian(out, 0, 8);
    std::vector<std::uint64_t> offsets, sizes;
    for (const auto& s : streams) {
        const std::string& data = s.data == old ? state : s.data;
        offsets.push_back(out.size());
        sizes.push_back(data.size());
        out += data;
    }
    const std::uint64_t list = out.size();
    out += "List";
    appendLittleEndian(out, streams.size(), 4);
    for (std::size_t k = 0; k < streams.size(); ++k) {
        out += streams[k].id;
        appendLittleEndian(out, offsets[k], 8);
        appendLittleEndian(out, sizes[k], 8);
    }
    for (int k = 0; k < 8; ++k)
        out[kListOffsetAt + static_cast<std::size_t>(k)] = static_cast<char>((list >> (8 * k)) & 0xff);
    return out;
}

// Turtle's long strings: a backslash starts an escape.
std::string unescaped(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        out += c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
    }
    return out;
}

std::string escaped(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out;
}

bool findBankLiteral(std::string_view ttl, std::size_t& at, std::size_t& size)
{
    const auto open = ttl.find(kBankOpen);
    const auto end = open == std::string_view::npos ? open : ttl.find(kLongQuote, open + kBankOpen.size());
    if (end == std::string_view::npos)
        return false;
    at = open + kBankOpen.size();
    size = end - at;
    return true;
}

std::string attribute(std::string_view session, std::size_t from, std::string_view open)
{
    const auto at = session.find(open, from);
    const auto end = at == std::string_view::npos ? at : session.find('"', at + open.size());
    return end == std::string_view::npos ? std::string() : std::string(session.substr(at + open.size(), end - at - open.size()));
}

// The id of the processor the LV2 element belongs to: its state folder's name.
std::string lv2ProcessorId(std::string_view session)
{
    const auto element = session.find(elementOf(PluginFormat::Lv2));
    const auto processor = element == std::string_view::npos ? element : session.rfind("<Processor id=\"", element);
    return processor == std::string_view::npos ? std::string() : attribute(session, processor, "<Processor id=\"");
}

} // namespace

SessionPluginState::SessionPluginState(std::string sessionFolder, PluginFormat format)
    : folder_(std::move(sessionFolder)), format_(format)
{
}

std::string SessionPluginState::snapshotPath(const std::string& snapshot) const
{
    return folder_ + "/" + snapshot + ".ardour";
}

std::string SessionPluginState::read(const std::string& snapshot) const
{
    const std::string session = textOf(snapshotPath(snapshot));
    if (format_ == PluginFormat::Lv2)
        return readLv2(session);
    std::size_t at = 0, size = 0;
    if (!findChunk(session, elementOf(format_), at, size))
        return {};
    const auto bytes = fromBase64(std::string_view(session).substr(at, size));
    if (!bytes || format_ == PluginFormat::Vst2)
        return bytes.value_or(std::string());
    const auto streams = streamsOf(*bytes);
    return streams ? componentOf(*streams) : std::string();
}

bool SessionPluginState::write(const std::string& from, const std::string& to, const std::string& state) const
{
    std::string session = textOf(snapshotPath(from));
    if (format_ == PluginFormat::Lv2) {
        if (!writeLv2(session, state))
            return false;
    } else {
        std::size_t at = 0, size = 0;
        if (!findChunk(session, elementOf(format_), at, size))
            return false;
        std::string bytes = state;
        if (format_ == PluginFormat::Vst3) {
            const auto image = fromBase64(std::string_view(session).substr(at, size));
            const auto streams = image ? streamsOf(*image) : std::nullopt;
            if (!streams || componentOf(*streams).empty())
                return false;
            bytes = replacedImage(*image, *streams, state);
        }
        session.replace(at, size, toBase64(bytes));
    }
    std::ofstream out(snapshotPath(to), std::ios::binary);
    out << session;
    return static_cast<bool>(out.flush());
}

std::string SessionPluginState::lv2StateFile(std::string_view session, const std::string& stateDir) const
{
    return folder_ + "/plugins/" + lv2ProcessorId(session) + "/" + stateDir + "/state.ttl";
}

std::string SessionPluginState::readLv2(std::string_view session) const
{
    const std::string stateDir = attribute(session, session.find(elementOf(PluginFormat::Lv2)), kStateDir);
    if (stateDir.empty())
        return {};
    const std::string ttl = textOf(lv2StateFile(session, stateDir));
    std::size_t at = 0, size = 0;
    return findBankLiteral(ttl, at, size) ? unescaped(std::string_view(ttl).substr(at, size)) : std::string();
}

// The state goes into a new state folder, numbered after the others, which
// the snapshot then names; the folders other snapshots name stay as they are.
bool SessionPluginState::writeLv2(std::string& session, const std::string& state) const
{
    const auto element = session.find(elementOf(PluginFormat::Lv2));
    const std::string stateDir = attribute(session, element, kStateDir);
    if (element == std::string::npos || stateDir.empty())
        return false;
    const fs::path old = fs::path(lv2StateFile(session, stateDir)).parent_path();
    int newest = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(old.parent_path(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("state", 0) == 0)
            newest = std::max(newest, std::atoi(name.c_str() + 5));
    }
    const std::string newDir = "state" + std::to_string(newest + 1);
    std::string ttl = textOf((old / "state.ttl").string());
    std::size_t at = 0, size = 0;
    if (error || !findBankLiteral(ttl, at, size))
        return false;
    ttl.replace(at, size, escaped(state));
    const fs::path copy = old.parent_path() / newDir;
    fs::copy(old, copy, fs::copy_options::recursive, error);
    std::ofstream out(copy / "state.ttl", std::ios::binary | std::ios::trunc);
    out << ttl;
    if (error || !out.flush())
        return false;
    const auto value = session.find(kStateDir, element) + kStateDir.size();
    session.replace(value, stateDir.size(), newDir);
    return true;
}

} // namespace ardourtest
