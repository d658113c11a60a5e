// The cut strings of a procedure file, indexed as a byte trie so that a line is matched in one walk.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CutTable {
public:
    // Takes every line of text as one string; a line ends at CR LF, a lone CR or a lone LF, and a
    // last line without a line end counts too. Empty lines are skipped: every line begins with
    // the empty string, so one stray empty line would otherwise cut everything.
    void AddLines(const char* text, size_t size);
    void Add(const char* s, size_t length);
    // The number of strings taken (empty lines not counted).
    size_t Count() const { return strings_.size(); }
    const std::string& String(size_t i) const { return strings_[i]; }

    // True when the line begins with one of the strings, compared byte for byte.
    bool Matches(const char* line, size_t length) const {
        if (dirty_) Build();
        uint32_t node = 0;
        size_t i = 0;
        for (;;) {
            const Node& n = nodes_[node];
            if (n.skipLength) {  // the bytes all strings below this node share
                if (length - i < n.skipLength) return false;
                const unsigned char* want = skipped_.data() + n.skipOffset;
                for (uint32_t k = 0; k < n.skipLength; ++k) {
                    if (static_cast<unsigned char>(line[i + k]) != want[k]) return false;
                }
                i += n.skipLength;
            }
            if (n.terminal) return true;
            if (i == length) return false;
            node = Child(n, static_cast<unsigned char>(line[i++]));
            if (node == 0) return false;
        }
    }

private:
    struct Node {
        uint32_t firstEdge = 0;
        uint32_t edgeCount = 0;
        uint32_t skipOffset = 0;
        uint32_t skipLength = 0;
        uint32_t dense = UINT32_MAX;  // index of a 256-entry row in dense_, for nodes with many children
        bool terminal = false;
    };
    static constexpr uint32_t kDenseFrom = 6;

    uint32_t Child(const Node& n, unsigned char c) const {
        if (n.dense != UINT32_MAX) return dense_[n.dense * 256 + c];
        const unsigned char* labels = labels_.data() + n.firstEdge;
        for (uint32_t k = 0; k < n.edgeCount; ++k) {
            if (labels[k] == c) return targets_[n.firstEdge + k];
        }
        return 0;  // the root is nobody's child, so 0 means none
    }
    void Build() const;

    std::vector<std::string> strings_;
    // The trie is rebuilt lazily after strings were added; it is derived data.
    mutable bool dirty_ = true;
    mutable std::vector<Node> nodes_;
    mutable std::vector<unsigned char> labels_;
    mutable std::vector<unsigned char> skipped_;
    mutable std::vector<uint32_t> targets_;
    mutable std::vector<uint32_t> dense_;
};

enum class CutTableLoad { Ready, NoFile, Unreadable };

// A procedure file is read whole and indexed; one larger than this (some 20,000 lines of 50
// bytes) is no list of line beginnings, and its index could outgrow the memory of the program.
constexpr long long kMaxProcedureFileBytes = 1 << 20;

// Reads the procedure file at path into table. NoFile for an empty path; Unreadable when the file
// cannot be opened or read or is larger than kMaxProcedureFileBytes.
CutTableLoad LoadCutTable(const char* path, CutTable* table);
