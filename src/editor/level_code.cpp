#include "editor/level_code.h"

#include "config/config_file.h"
#include "world/level_loader.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace {

const std::string OPENING = "tirak.";
// base64url's digits, by value.
constexpr std::string_view DIGITS = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr int32_t BITS_PER_DIGIT = 6;
constexpr int32_t BITS_PER_BYTE = 8;
constexpr int32_t SIZE_BITS = 7; // up to 127, so that a size over MAX_GRID_SIZE is said as such
constexpr int32_t NAME_LENGTH_BITS = 8;
constexpr size_t CHECKSUM_BYTES = 4;

// The cells a code carries, in the order it lists them.
constexpr std::array<int32_t, 4> CARRIED = {CELL_SHIP_START, CELL_GOAL, CELL_BEAMER, CELL_CUBE};
using CarriedCells = std::array<std::vector<uint32_t>, CARRIED.size()>;

const char* const NOT_A_CODE = "it is not a level code (one begins \"tirak.1.\")";
const char* const CUT_SHORT = "it is cut short: characters are missing from its end";
const char* const ADDED_TO = "it goes on past its end: characters were added to it";
const char* const ALTERED = "it has been altered: its checksum does not match";

// The fewest bits that hold every cell index of the grid.
int32_t index_bits(int32_t size)
{
    const int64_t cells = int64_t{size} * size * size;
    int32_t bits = 0;
    while ((int64_t{1} << bits) < cells)
        ++bits;
    return bits;
}

// CRC-32 as zlib and PNG compute it, bit by bit: a code is a few dozen bytes.
uint32_t crc32(const std::vector<uint8_t>& bytes, size_t length)
{
    constexpr uint32_t POLYNOMIAL = 0xEDB88320u; // reflected
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t at = 0; at < length; ++at) {
        crc ^= bytes[at];
        for (int32_t bit = 0; bit < BITS_PER_BYTE; ++bit)
            crc = (crc >> 1) ^ (POLYNOMIAL & (0u - (crc & 1u)));
    }
    return ~crc;
}

// Bits into bytes, each field's most significant bit first, each byte
// filled from its top bit.
struct BitWriter {
    std::vector<uint8_t> bytes;
    size_t length = 0; // in bits

    void put(uint32_t value, int32_t bits)
    {
        for (int32_t bit = bits - 1; bit >= 0; --bit, ++length) {
            if (length % BITS_PER_BYTE == 0)
                bytes.push_back(0);
            if ((value >> bit) & 1u)
                bytes.back() |= static_cast<uint8_t>(0x80u >> (length % BITS_PER_BYTE));
        }
    }
};

struct BitReader {
    const std::vector<uint8_t>& bytes;
    size_t at = 0; // in bits

    // False, taking nothing, when fewer bits are left.
    bool take(int32_t bits, uint32_t& value)
    {
        if (at + bits > bytes.size() * BITS_PER_BYTE)
            return false;
        value = 0;
        for (int32_t k = 0; k < bits; ++k, ++at)
            value = value << 1 | ((bytes[at / BITS_PER_BYTE] >> (BITS_PER_BYTE - 1 - at % BITS_PER_BYTE)) & 1u);
        return true;
    }
};

size_t digits_for(size_t bytes)
{
    return (bytes * BITS_PER_BYTE + BITS_PER_DIGIT - 1) / BITS_PER_DIGIT;
}

std::string base64url(const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> padded = bytes;
    padded.push_back(0); // the last digit's spare bits
    BitReader reader{padded};
    std::string text;
    for (uint32_t digit = 0; text.size() < digits_for(bytes.size()) && reader.take(BITS_PER_DIGIT, digit);)
        text += DIGITS[digit];
    return text;
}

std::string grid_too_large(int32_t size)
{
    return "size is " + std::to_string(size) + ", larger than the largest grid of " + std::to_string(MAX_GRID_SIZE) +
           " cells a side";
}

std::string too_many_entries(int64_t entries)
{
    return "it has " + std::to_string(entries) + " entries, more than the " + std::to_string(MAX_LEVEL_ENTRIES) +
           " a level may have";
}

std::string cell_text(const Cell& cell)
{
    return std::to_string(cell[0]) + " " + std::to_string(cell[1]) + " " + std::to_string(cell[2]);
}

// Why the name could not go into a level file and come back the same; empty
// when it could.
std::string name_problem(const std::string& name)
{
    if (const int32_t length = character_count(name); length > MAX_LEVEL_NAME_LENGTH)
        return "the name is " + std::to_string(length) + " characters long; a level code carries at most " +
               std::to_string(MAX_LEVEL_NAME_LENGTH);
    for (const char character : name) {
        const auto byte = static_cast<unsigned char>(character);
        if (character == '#')
            return "the name holds a \"#\", which a level file reads as the start of a note";
        if (character == '\n' || character == '\r')
            return "the name holds a line break, which a level file cannot keep";
        if (byte < 0x20 || byte == 0x7F)
            return "the name holds a control character (byte " + std::to_string(byte) +
                   "), which a level file cannot keep";
    }
    if (trim(name) != name)
        return "the name begins or ends with a space, which a level file drops";
    if (name.find("EndConfigFile") != std::string::npos)
        return "the name holds \"EndConfigFile\", which ends a level file";
    return "";
}

// The character of the text at a byte, quoted whole even when it takes
// several bytes of UTF-8; a control character by its number, so that the
// line stays one line.
std::string character_named(const std::string& text, size_t at)
{
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x20 || byte == 0x7F)
        return "a control character (byte " + std::to_string(byte) + ")";
    size_t end = at + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        ++end;
    return "\"" + text.substr(at, end - at) + "\"";
}

} // namespace

Result<std::string> level_code(const LevelDraft& draft)
{
    const LevelGrid& grid = draft.grid;
    if (grid.size > MAX_GRID_SIZE)
        return Failure{grid_too_large(grid.size)};
    if (const std::string problem = name_problem(draft.name); !problem.empty())
        return Failure{problem};
    CarriedCells cells;
    int64_t entries = 0;
    for (int32_t index = 0; index < grid.cell_count; ++index) {
        const int32_t value = grid.cells[index];
        if (value == CELL_EMPTY)
            continue;
        const auto kind = std::find(CARRIED.begin(), CARRIED.end(), value);
        if (kind == CARRIED.end())
            return Failure{"cell " + cell_text(cell_at(grid, index)) + " holds " + std::to_string(value) +
                           ", which a level code cannot carry"};
        cells[kind - CARRIED.begin()].push_back(static_cast<uint32_t>(index));
        ++entries;
    }
    if (entries > MAX_LEVEL_ENTRIES)
        return Failure{too_many_entries(entries)};

    BitWriter body;
    body.put(static_cast<uint32_t>(grid.size), SIZE_BITS);
    body.put(static_cast<uint32_t>(draft.name.size()), NAME_LENGTH_BITS);
    for (const char byte : draft.name)
        body.put(static_cast<unsigned char>(byte), BITS_PER_BYTE);
    const int32_t bits = index_bits(grid.size);
    for (const std::vector<uint32_t>& kind : cells) {
        body.put(static_cast<uint32_t>(kind.size()), bits + 1);
        for (const uint32_t index : kind)
            body.put(index, bits);
    }
    const uint32_t checksum = crc32(body.bytes, body.bytes.size());
    for (size_t k = 0; k < CHECKSUM_BYTES; ++k)
        body.bytes.push_back(static_cast<uint8_t>(checksum >> (BITS_PER_BYTE * (CHECKSUM_BYTES - 1 - k))));
    return OPENING + std::to_string(LEVEL_CODE_VERSION) + "." + base64url(body.bytes);
}

Result<LevelDraft> read_level_code(const std::string& text)
{
    const std::string code = trim(text);
    const size_t version_end = code.find('.', OPENING.size());
    std::optional<int32_t> version;
    if (code.rfind(OPENING, 0) == 0 && version_end != std::string::npos)
        version = whole_number(code.substr(OPENING.size(), version_end - OPENING.size()));
    if (!version)
        return Failure{NOT_A_CODE};
    if (*version != LEVEL_CODE_VERSION)
        return Failure{"it is a level code of version " + std::to_string(*version) + "; this game reads version " +
                       std::to_string(LEVEL_CODE_VERSION)};

    const std::string digits = code.substr(version_end + 1);
    BitWriter payload;
    for (size_t at = 0; at < digits.size(); ++at) {
        const size_t digit = DIGITS.find(digits[at]);
        if (digit == std::string_view::npos)
            return Failure{"it is not a level code: it holds " + character_named(digits, at) +
                           ", which no level code holds"};
        payload.put(static_cast<uint32_t>(digit), BITS_PER_DIGIT);
    }
    // A last digit that ends inside a byte leaves spare bits, 0 as written.
    bool spare_bits_clear = true;
    if (payload.length % BITS_PER_BYTE != 0) {
        spare_bits_clear = payload.bytes.back() == 0;
        payload.bytes.pop_back();
    }

    // The body says how long it is: its fields first, checked once the
    // checksum shows that they are the ones written.
    BitReader body{payload.bytes};
    uint32_t size = 0, name_length = 0;
    if (!body.take(SIZE_BITS, size) || !body.take(NAME_LENGTH_BITS, name_length))
        return Failure{CUT_SHORT};
    std::string name;
    for (uint32_t k = 0, byte = 0; k < name_length; ++k) {
        if (!body.take(BITS_PER_BYTE, byte))
            return Failure{CUT_SHORT};
        name += static_cast<char>(byte);
    }
    const int32_t bits = index_bits(static_cast<int32_t>(size));
    CarriedCells cells;
    int64_t entries = 0;
    for (std::vector<uint32_t>& kind : cells) {
        uint32_t count = 0;
        if (!body.take(bits + 1, count))
            return Failure{CUT_SHORT};
        entries += count;
        for (uint32_t k = 0, index = 0; k < count; ++k) {
            if (!body.take(bits, index))
                return Failure{CUT_SHORT};
            kind.push_back(index);
        }
    }
    const size_t body_bytes = (body.at + BITS_PER_BYTE - 1) / BITS_PER_BYTE;
    const size_t written = digits_for(body_bytes + CHECKSUM_BYTES);
    if (digits.size() < written)
        return Failure{CUT_SHORT};
    if (digits.size() > written)
        return Failure{ADDED_TO};
    uint32_t checksum = 0;
    BitReader at_checksum{payload.bytes, body_bytes * BITS_PER_BYTE};
    if (!at_checksum.take(BITS_PER_BYTE * CHECKSUM_BYTES, checksum) || !spare_bits_clear ||
        checksum != crc32(payload.bytes, body_bytes))
        return Failure{ALTERED};

    if (size > MAX_GRID_SIZE)
        return Failure{grid_too_large(static_cast<int32_t>(size))};
    if (entries > MAX_LEVEL_ENTRIES)
        return Failure{too_many_entries(entries)};
    if (const std::string problem = name_problem(name); !problem.empty())
        return Failure{problem};
    LevelDraft draft;
    draft.grid = empty_grid(static_cast<int32_t>(size));
    draft.name = name;
    for (size_t kind = 0; kind < CARRIED.size(); ++kind)
        for (const uint32_t index : cells[kind]) {
            if (index >= static_cast<uint32_t>(draft.grid.cell_count))
                return Failure{"cell index " + std::to_string(index) + " lies outside the grid of size " +
                               std::to_string(size)};
            int32_t& cell = draft.grid.cells[index];
            if (cell != CELL_EMPTY)
                return Failure{"cell " + cell_text(cell_at(draft.grid, static_cast<int32_t>(index))) +
                               " is given twice"};
            cell = CARRIED[kind];
        }
    return draft;
}
