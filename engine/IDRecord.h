// One block type as its identification call declared it. The registry and every block
// instance made from it share one record, so the block function it names stays reachable
// as long as any of them needs it.
#ifndef VIREO_IDRECORD_H
#define VIREO_IDRECORD_H

#include "BlockProtocol.h"
#include "String.h"

#include <string>
#include <vector>

using BlockFunction = vireo::protocol::BlockFunction;

class IDRecord {
public:
    // ip holds the ten IP slots of the identification answer; names is the stripped name
    // row, NUL-terminated.
    IDRecord(int maxInputs, int outputCount, const int* ip, const char* names, BlockFunction fn);

    // The names, upper case, separated by single blanks, main name first.
    std::string name() const { return nameList.str(); }
    // 1-based position of the name in the name list; 0 when the block has no such name.
    int getOpMode(const String& name) const;

    String nameList;
    int group;
    int nameCount;
    int minInputs;
    int maxInputs;
    int outputCount;
    int ipSize;
    int rpSize;
    int dpSize;
    int minParameters;
    int maxParameters;
    int minStrings;
    int maxStrings;
    BlockFunction blockFunction;
    std::vector<unsigned> wordStarts;  // 1-based start of each declared name in nameList
};

#endif
