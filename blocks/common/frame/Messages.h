// How a block reports. Every message travels in a record of its own: the block's
// protocol slots copied in (so {i3} is its number), the values the message shows, and
// the block's name; the block's arrays are never written for a message, so a value shown
// can never overwrite block data. What the engine counts is the status a call leaves:
// the most severe code reported in the call, the first one among equals.
#ifndef VIREO_BLOCK_MESSAGES_H
#define VIREO_BLOCK_MESSAGES_H

#include "BlockProtocol.h"

#include <initializer_list>
#include <string_view>

namespace vireo::block {

// A message code of a block library: its number in the utility library's catalogue and
// the placeholders its reports fill beyond those every report fills ({i0} to {i9}, the
// protocol slots, and {s1}, the block's name), as blank-separated names such as "i8 s0".
// A test holds each library's codes against the catalogue.
struct Code {
    int number;
    const char* fills = "";
};

// What a parameter rule's message shows: the parameter's 1-based number, its value and
// the two bounds; with kWordedRuleFills also the rule in words ({s0}, "a number above 0",
// "a whole number from 0 to 3"), and with kNamedRuleFills besides the parameter's name as
// its table gives it ({s2}). A code that several rules send states the rule in words, so
// that its text fits each of them.
inline constexpr const char* kRuleFills = "i10 r0 r1 r2";
inline constexpr const char* kWordedRuleFills = "i10 r0 r1 r2 s0";
inline constexpr const char* kNamedRuleFills = "i10 r0 r1 r2 s0 s2";

// The values a message shows.
struct Values {
    int value = 0;                       // {i8}
    std::initializer_list<float> reals{};  // {r0}, {r1}, ... (at most 16)
    std::string_view text{};               // {s0}
    std::initializer_list<int> ints{};     // {i10}, {i11}, ... (at most 6)
    std::string_view detail{};             // {s2}: a second text, such as the field a file fault is about
};

// The status of a call keeps its most severe code; among equals the first stays.
inline void raiseStatus(int* ip, int code) {
    if (protocol::severity(code) > protocol::severity(ip[protocol::ipSlot::kStatus])) ip[protocol::ipSlot::kStatus] = code;
}

// Sends one message about the block whose IP this is, without touching IP. The text and
// the name travel in rows of rowLength characters, each cut to that length.
void send(const int* ip, std::string_view blockName, int code, const Values& values,
          std::size_t rowLength = protocol::kRow);

// Reports for a block known by its IP and name; routines shared by several blocks take
// one, so that they report exactly as the block itself would.
class Reporter {
public:
    Reporter(int* ip, std::string_view blockName, std::size_t rowLength = protocol::kRow)
        : ip_(ip), name_(blockName), rowLength_(rowLength) {}
    // Counted: the code stays in the status unless a more severe one is there already.
    void report(Code code, const Values& values = {}) {
        send(ip_, name_, code.number, values, rowLength_);
        raiseStatus(ip_, code.number);
    }
    // Shown only: the status stays as it is.
    void show(Code code, const Values& values = {}) const { send(ip_, name_, code.number, values, rowLength_); }
    int status() const { return ip_[protocol::ipSlot::kStatus]; }
    int blockNumber() const { return ip_[protocol::ipSlot::kBlockNumber]; }

private:
    int* ip_;
    std::string_view name_;
    std::size_t rowLength_;
};

}  // namespace vireo::block

// A library's codes, declared once as a list X(name, number, fills): each becomes a
// constant `name`, and kAllCodes lists them all for the catalogue test.
#define VIREO_CODE_CONSTANT(name, number, fills) inline constexpr ::vireo::block::Code name{number, fills};
#define VIREO_CODE_ENTRY(name, number, fills) name,
#define VIREO_MESSAGE_CODES(list)  \
    list(VIREO_CODE_CONSTANT)      \
    inline constexpr ::vireo::block::Code kAllCodes[] = {list(VIREO_CODE_ENTRY)};

namespace vireo::block::frameCode {
// The frame's own codes. badParameter serves a block library outside this tree, whose
// own codes have no text in the utility library's catalogue: a parameter rule with it
// names the block, the parameter by number and by its table's name, its value and the
// rule in words.
#define VIREO_FRAME_CODES(X)                     \
    X(notAvailable, 309001, "")                  \
    X(failed, 409002, "s0")                      \
    X(badOpMode, 305126, "")                     \
    X(badParameter, 309003, kNamedRuleFills)     \
    X(outputNotFinite, 209003, "i10 r0")         \
    /* changes during the run not taken */      \
    X(parameterNotTaken, 209004, "i10 r0 r1 s2") \
    X(changeNotTaken, 209005, "s0")              \
    /* the files of a run (Files.h) */           \
    X(writtenTwice, 305936, "s0 s2 i10")         \
    X(writesWhatIsRead, 305937, "s0 s2 i10")     \
    X(readsWhatIsWritten, 305938, "s0 s2 i10")   \
    X(writesTheModel, 305939, "s0 s2")           \
    X(writesALibrary, 305941, "s0 s2")           \
    X(writesTheMessages, 305943, "s0 s2")
VIREO_MESSAGE_CODES(VIREO_FRAME_CODES)
}  // namespace vireo::block::frameCode

#endif
