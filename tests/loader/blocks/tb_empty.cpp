// A library without blocks: it shows in the component list only.
#include "test_block.h"

TB_EXPORT int helperFunction(int x) { return x + 1; }

TB_EXPORT char* info() { return tb::infoLine("test_20240101_empty", "libTbEmpty"); }
