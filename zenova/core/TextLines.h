// The lines of the program's text files, whichever line ends they were written with.
#ifndef ZENOVA_TEXT_LINES_H
#define ZENOVA_TEXT_LINES_H

#include <cstddef>
#include <limits>
#include <string_view>
#include <vector>

namespace zenova {

// At most `most` lines of a text: LF ends a line, a CR before it is dropped, and a final
// line end starts no further line. The lines point into the text.
std::vector<std::string_view> textLines(std::string_view text,
                                        std::size_t most = std::numeric_limits<std::size_t>::max());

}  // namespace zenova

#endif
