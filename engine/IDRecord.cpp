#include "IDRecord.h"

namespace answer = vireo::protocol::answer;

IDRecord::IDRecord(int maxInputs_, int outputCount_, const int* ip, const char* names, BlockFunction fn)
    : nameList(names),
      group(ip[answer::kGroup]),
      nameCount(ip[answer::kNameCount]),
      minInputs(ip[answer::kMinInputs]),
      maxInputs(maxInputs_),
      outputCount(outputCount_),
      ipSize(ip[answer::kIpSize]),
      rpSize(ip[answer::kRpSize]),
      dpSize(ip[answer::kDpSize]),
      minParameters(ip[answer::kMinParameters]),
      maxParameters(ip[answer::kMaxParameters]),
      minStrings(ip[answer::kMinStrings]),
      maxStrings(ip[answer::kMaxStrings]),
      blockFunction(fn) {
    nameList.toUpper();
    if (nameCount < 1) return;
    // Names are separated by single blanks: each start lies one past the previous blank,
    // so a doubled blank makes the next declared name begin at a blank and never match.
    wordStarts.reserve(static_cast<std::size_t>(nameCount));
    unsigned start = 1;
    wordStarts.push_back(start);
    for (int k = 1; k < nameCount; ++k) {
        start = nameList.charPos(' ', start) + 1;
        wordStarts.push_back(start);
    }
}

int IDRecord::getOpMode(const String& name) const {
    if (name.length() == 0) return 0;  // no block is named by nothing
    for (std::size_t k = 0; k < wordStarts.size(); ++k) {
        const unsigned start = wordStarts[k];
        if (!nameList.isSubstring(name, start)) continue;
        const unsigned after = start + name.length();  // 1-based position right after the name
        if (after > nameList.length() || nameList[after] == ' ') return static_cast<int>(k) + 1;
    }
    return 0;
}
