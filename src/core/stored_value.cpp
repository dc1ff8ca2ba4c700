#include "core/stored_value.h"

#include "core/decimal.h"

namespace glimro {

std::wstring TextFromBytes(Bytes bytes, bool* plain) {
    std::wstring text;
    text.reserve(bytes.size() / 2);
    bool nul = false;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const wchar_t unit = static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == L'\0') {
            nul = true;
            break;
        }
        text.push_back(unit);
    }
    if (plain)
        *plain = !nul && bytes.size() % 2 == 0;
    return text;
}

uint32_t NumberFromBytes(Bytes bytes) {
    if (bytes.size() > 4)
        return 0;
    uint32_t value = 0;
    for (size_t i = 0; i < bytes.size(); ++i)
        value |= static_cast<uint32_t>(bytes[i]) << (8 * i);
    return value;
}

std::optional<uint32_t> NumberFromValue(uint32_t type, Bytes bytes) {
    if (type == kStoredDword)
        return bytes.size() == 4 ? std::optional<uint32_t>(NumberFromBytes(bytes)) : std::nullopt;
    if (type != kStoredString && type != kStoredExpandString)
        return std::nullopt;
    const std::optional<uint64_t> value = ParseDecimal(TextFromBytes(bytes), 0xFFFFFFFFu);
    return value ? std::optional<uint32_t>(static_cast<uint32_t>(*value)) : std::nullopt;
}

bool TimeFromBytes(Bytes bytes, StoredTime* time) {
    if (bytes.size() != 16)
        return false;
    uint16_t fields[8];
    for (size_t i = 0; i < 8; ++i)
        fields[i] = static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    const StoredTime t = {fields[0], fields[1], fields[2], fields[3],
                          fields[4], fields[5], fields[6], fields[7]};
    if (t.year < 1601 || t.year > 30827 || t.month < 1 || t.month > 12 || t.day < 1 ||
        t.hour > 23 || t.minute > 59 || t.second > 59 || t.milliseconds > 999)
        return false;
    static constexpr uint16_t kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
    if (t.day > kDays[t.month - 1] || (t.month == 2 && !leap && t.day > 28))
        return false;
    *time = t;
    return true;
}

bool ShuffleRoundFromBytes(Bytes bytes, std::vector<int>* round) {
    round->clear();
    if (bytes.size() % 4 != 0 || bytes.size() > kMaxShuffleBytes)
        return false;
    for (size_t i = 0; i < bytes.size(); i += 4)
        round->push_back(static_cast<int>(NumberFromBytes(bytes.subspan(i, 4))));
    return true;
}

bool EntryPositionFromName(std::wstring_view name, unsigned long* position) {
    constexpr std::wstring_view kPrefix = L"imagefile";
    if (name.size() <= kPrefix.size() || name.size() > kPrefix.size() + 9)
        return false;
    for (size_t i = 0; i < kPrefix.size(); ++i) {
        wchar_t c = name[i];
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != kPrefix[i])
            return false;
    }
    const std::wstring_view digits = name.substr(kPrefix.size());
    if (digits.size() > 1 && digits[0] == L'0')
        return false;
    unsigned long value = 0;
    for (const wchar_t c : digits) {
        if (c < L'0' || c > L'9')
            return false;
        value = value * 10 + static_cast<unsigned long>(c - L'0'); // nine digits fit
    }
    *position = value;
    return true;
}

} // namespace glimro
