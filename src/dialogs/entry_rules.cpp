#include "dialogs/entry_rules.h"

#include <cstdio>

#include "lib/core/byte_text.h"
#include "loglist/index_file.h"
#include "resources/resource_ids.h"
#include "settings/registry_value.h"

namespace {

constexpr DWORD kHistoryValueSize = MAX_PATH;

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

void HistoryValueName(HINSTANCE instance, int index, char* out, size_t size) {
    settings::ValueName base(instance, IDS_REG_BROWSE);
    std::snprintf(out, size, "%s%d", base.text, index);
}

}  // namespace

EntryProblem CheckEntryFields(const char* logFileName, const char* listName, const char* browserName) {
    if (!logFileName[0]) return EntryProblem::NoLogFile;
    if (!listName[0]) return EntryProblem::NoListName;
    if (!browserName[0]) return EntryProblem::NoBrowser;
    if (!IsStorableIndexField(logFileName) || !IsStorableIndexField(listName) || !IsStorableIndexField(browserName)) {
        return EntryProblem::Comma;
    }
    return EntryProblem::None;
}

bool StartsWithNoCase(const char* item, const char* prefix) {
    size_t i = 0;
    while (prefix[i] != '\0') {
        if (bytetext::IsDoubleByte(prefix + i)) {
            if (item[i] != prefix[i] || item[i + 1] != prefix[i + 1]) return false;
            i += 2;
            continue;
        }
        if (item[i] == '\0' || FoldAscii(item[i]) != FoldAscii(prefix[i])) return false;
        ++i;
    }
    return true;
}

int FindHistoryPrefix(const std::vector<std::string>& items, const char* browser) {
    const int count = static_cast<int>(items.size());
    for (int step = 1; step <= count; ++step) {
        int i = step % count;  // 1, 2, ..., count - 1, then 0
        if (StartsWithNoCase(items[i].c_str(), browser)) return i;
    }
    return -1;
}

void UpdateHistory(std::vector<std::string>* items, const char* browser) {
    int found = FindHistoryPrefix(*items, browser);
    if (found >= 0) items->erase(items->begin() + found);
    items->insert(items->begin(), browser);
}

std::vector<std::string> LoadBrowserHistory(HINSTANCE instance) {
    std::vector<std::string> items;
    OwnedKey key = settings::OpenSettingsKey(instance, IDS_REG_BROWSELIST);
    if (!key) return items;
    for (int i = 0; i < kBrowserHistoryMax; ++i) {
        char name[80];
        HistoryValueName(instance, i, name, sizeof name);
        char value[kHistoryValueSize];
        if (!settings::ReadString(key.Get(), name, value, sizeof value)) break;
        items.emplace_back(value);
    }
    return items;
}

void SaveBrowserHistory(HINSTANCE instance, const std::vector<std::string>& items) {
    OwnedKey key = settings::OpenSettingsKey(instance, IDS_REG_BROWSELIST);
    if (!key) return;
    for (size_t i = 0; i < items.size(); ++i) {
        char name[80];
        HistoryValueName(instance, static_cast<int>(i), name, sizeof name);
        char value[kHistoryValueSize];
        bytetext::CopyToField(value, sizeof value, items[i].c_str());
        settings::WriteString(key.Get(), name, value, sizeof value);
    }
}
