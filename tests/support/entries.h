#pragma once
// Album entries in test expectations: compared with plain texts, printed as their text.
#include "store/album.h"
#include "support/temp_folder.h"

#include <ostream>
#include <string>
#include <vector>

namespace glimro {

inline bool operator==(const std::vector<ImageEntry>& entries,
                       const std::vector<std::wstring>& texts) {
    if (entries.size() != texts.size())
        return false;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (entries[i].Text != texts[i] || entries[i].Type != REG_SZ || !entries[i].Stored.empty())
            return false;
    }
    return true;
}

inline void PrintTo(const ImageEntry& entry, std::ostream* out) {
    *out << test::Narrow(entry.Text) << " (type " << entry.Type << ", " << entry.Stored.size()
         << " stored bytes)";
}

namespace test {

inline std::vector<std::wstring> Texts(const std::vector<ImageEntry>& entries) {
    std::vector<std::wstring> texts;
    for (const ImageEntry& entry : entries)
        texts.push_back(entry.Text);
    return texts;
}

} // namespace test
} // namespace glimro
