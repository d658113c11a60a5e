// The lines of a text held whole in memory, as the program reads its own files (the index file, the
// cut procedure file).
#pragma once
#include <cstddef>

namespace textlines {

// Calls visit(line, length) for each line of the size bytes at text, in order. A line ends at CR LF,
// a lone CR or a lone LF (none of them is ever the second byte of a double-byte character), which is
// not part of it; a last line without a line end counts, and a line end at the very end starts no
// further line. The visitor may overwrite the byte after its line.
template <class Char, class Visit>
void ForEachLine(Char* text, size_t size, Visit visit) {
    size_t start = 0;
    while (start < size) {
        size_t end = start;
        while (end < size && text[end] != '\r' && text[end] != '\n') ++end;
        const size_t next = end + (end + 1 < size && text[end] == '\r' && text[end + 1] == '\n' ? 2 : 1);
        visit(text + start, end - start);
        start = next;
    }
}

}  // namespace textlines
