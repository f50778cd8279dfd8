#include "tables/rel_text_index.h"

bool CRelTextIndex::Matches(const CFileStamp &stamp, const CString &keyColumnName) const {
    return built && stamp.exists && stamp == fileStamp && columnName == keyColumnName.Text();
}

void CRelTextIndex::Start(const CFileStamp &stamp, const CString &keyColumnName) {
    Clear();
    built = true;
    fileStamp = stamp;
    columnName = keyColumnName.Text();
}

void CRelTextIndex::SetHeader(const CStringVector &names) {
    headerNames.clear();
    keyColumn = -1;
    for (int32_t i = 0; i < names.Count(); ++i) {
        headerNames.push_back(names.At(i));
        if (keyColumn < 0 && names.At(i).Equals(columnName.c_str())) keyColumn = i;
    }
}

bool CRelTextIndex::AddRow(const CRelRowBuffer &fields) {
    if (keyColumn < 0 || fields.Count() <= keyColumn) return false;
    // The first row of a key wins: a later one is not copied at all.
    auto [entry, added] = rows.try_emplace(fields.Text(keyColumn));
    if (!added) return true;
    std::vector<CString> &row = entry->second;
    row.reserve(static_cast<size_t>(fields.Count()));
    for (int32_t i = 0; i < fields.Count(); ++i) row.push_back(SharedText(fields.Text(i)));
    return true;
}

CString CRelTextIndex::SharedText(const char *text) {
    constexpr size_t kMostSharedTexts = 65536;
    const std::string_view bytes(text);
    if (auto known = sharedTexts.find(bytes); known != sharedTexts.end()) return known->second;
    CString made(text);
    if (sharedTexts.size() < kMostSharedTexts) sharedTexts.emplace(bytes, made);
    return made;
}

const std::vector<CString> *CRelTextIndex::Find(const CString &key) const {
    if (key.IsEmpty()) return nullptr;
    auto found = rows.find(key.Text());
    return found == rows.end() ? nullptr : &found->second;
}

void CRelTextIndex::Clear() {
    built = false;
    headerNames.clear();
    keyColumn = -1;
    rows.clear();
    sharedTexts.clear();
}
