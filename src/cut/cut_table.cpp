#include "cut/cut_table.h"

#include <algorithm>

#include "lib/core/owned.h"
#include "lib/core/text_lines.h"

void CutTable::Add(const char* s, size_t length) {
    if (length == 0) return;
    strings_.emplace_back(s, length);
    dirty_ = true;
}

void CutTable::AddLines(const char* text, size_t size) {
    textlines::ForEachLine(text, size, [this](const char* line, size_t length) { Add(line, length); });
}

void CutTable::Build() const {
    std::vector<std::string> sorted(strings_);
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    nodes_.assign(1, Node{});
    labels_.clear();
    targets_.clear();
    dense_.clear();
    skipped_.clear();

    // Iterative, so that a string of any length cannot exhaust the stack.
    struct Task {
        size_t lo, hi, depth;
        uint32_t node;
    };
    std::vector<Task> tasks;
    if (!sorted.empty()) tasks.push_back({0, sorted.size(), 0, 0});
    while (!tasks.empty()) {
        Task t = tasks.back();
        tasks.pop_back();
        // A chain of single children becomes one run of bytes compared at once: the common
        // prefix of a sorted range is that of its first and last strings.
        const std::string& a = sorted[t.lo];
        const std::string& b = sorted[t.hi - 1];
        size_t common = 0;
        while (t.depth + common < a.size() && t.depth + common < b.size() && a[t.depth + common] == b[t.depth + common])
            ++common;
        if (common > 0) {
            nodes_[t.node].skipOffset = static_cast<uint32_t>(skipped_.size());
            nodes_[t.node].skipLength = static_cast<uint32_t>(common);
            skipped_.insert(skipped_.end(), a.begin() + t.depth, a.begin() + t.depth + common);
            t.depth += common;
        }
        // Sorted order puts a string before the longer ones it begins; it alone decides the match.
        if (sorted[t.lo].size() == t.depth) {
            nodes_[t.node].terminal = true;
            continue;
        }
        const uint32_t first = static_cast<uint32_t>(labels_.size());
        size_t i = t.lo;
        while (i < t.hi) {
            unsigned char c = static_cast<unsigned char>(sorted[i][t.depth]);
            size_t j = i + 1;
            while (j < t.hi && static_cast<unsigned char>(sorted[j][t.depth]) == c) ++j;
            uint32_t child = static_cast<uint32_t>(nodes_.size());
            nodes_.push_back(Node{});
            labels_.push_back(c);
            targets_.push_back(child);
            tasks.push_back({i, j, t.depth + 1, child});
            i = j;
        }
        Node& n = nodes_[t.node];
        n.firstEdge = first;
        n.edgeCount = static_cast<uint32_t>(labels_.size()) - first;
        if (n.edgeCount >= kDenseFrom || t.node == 0) {
            n.dense = static_cast<uint32_t>(dense_.size() / 256);
            dense_.resize(dense_.size() + 256, 0);
            for (uint32_t k = 0; k < n.edgeCount; ++k) dense_[n.dense * 256 + labels_[first + k]] = targets_[first + k];
        }
    }
    dirty_ = false;
}

CutTableLoad LoadCutTable(const char* path, CutTable* table) {
    if (!path || !path[0]) return CutTableLoad::NoFile;
    OwnedFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return CutTableLoad::Unreadable;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxProcedureFileBytes) return CutTableLoad::Unreadable;
    std::string text;
    text.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    if (!text.empty() &&
        (!ReadFile(file.Get(), &text[0], static_cast<DWORD>(text.size()), &got, nullptr) || got != text.size())) {
        return CutTableLoad::Unreadable;
    }
    table->AddLines(text.data(), text.size());
    return CutTableLoad::Ready;
}
