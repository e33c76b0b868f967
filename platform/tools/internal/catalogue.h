// The message catalogue and the formatting of one message. Kept apart from msg so the
// catalogue can be checked by tests without touching standard output.
#ifndef VIREO_TOOLS_CATALOGUE_H
#define VIREO_TOOLS_CATALOGUE_H

#include <string>
#include <string_view>
#include <vector>

namespace vireo_tools {

// The joined catalogue files: one message per line, "code<TAB>template"; lines that
// are empty or begin with '#' are comments. In a template {iN}, {rN} and {sN} stand for
// integer slot N, real slot N and text row N of the message.
const char* catalogueText();

struct MessageValues {
    const int* ints;      // at least 16 slots
    const float* reals;   // null when the caller has none
    const char* rows;     // null when the caller has none
    size_t rowLength;
};

// One reference of a template to a value slot.
struct Slot {
    char kind;   // 'i', 'r' or 's'
    int index;
    bool operator==(const Slot&) const = default;
    bool operator<(const Slot& o) const { return kind != o.kind ? kind < o.kind : index < o.index; }
};

struct Message {
    int code;
    std::string templ;
    std::vector<Slot> slots;  // sorted, without repetitions
};

// The catalogue entry for a code, or null.
const Message* findMessage(int code);
// All entries, in code order (for tests and for duplicate detection).
const std::vector<Message>& allMessages();
// Problems found while reading the catalogue (a malformed line, a repeated code).
const std::vector<std::string>& catalogueProblems();

// "Error", "Warning", "Note", "Fatal error", or empty for four-digit codes.
std::string_view severityWord(int code);
std::string formatValue(const MessageValues& v, Slot s);
// The line that msg writes (without its line end).
std::string formatLine(int code, const MessageValues& v);
// The trace record that msg appends (without its line end).
std::string traceRecord(int code, const MessageValues& v);

}  // namespace vireo_tools

#endif
