// Format parser. This source is also compiled into the utility library, whose ckform
// answers whether a user's read format will work before a block relies on it; keep it
// free of everything but its own header.
#include "vireo/format/Format.h"

#include <cctype>

namespace vireo::format {

namespace {

const char* describe(Code code) {
    switch (code) {
    case Code::ok: return "ok";
    case Code::formatSyntax: return "format error at column";
    case Code::noDataDescriptor: return "the format transfers no value";
    case Code::typeMismatch: return "the descriptor does not match the type of value";
    case Code::badDescriptor: return "the descriptor cannot be used here, value";
    case Code::fieldOverflow: return "does not fit its field: value";
    case Code::recordTooLong: return "record too long";
    case Code::badNumber: return "not a number at column";
    case Code::endOfFile: return "end of file";
    case Code::ioError: return "input/output error, errno";
    case Code::badRecordNumber: return "no such record";
    case Code::badLineEnd: return "record without its line end";
    case Code::notOpen: return "file not open";
    }
    return "unknown";
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    Status run(std::vector<Node>& nodes) {
        skipBlanks();
        if (peek() != '(') return fault();
        nodes.push_back(open(1));
        ++pos_;
        if (Status s = list(nodes, 1); !s.ok()) return s;
        skipBlanks();
        if (pos_ != text_.size()) return fault();  // nothing may follow the format
        return {};
    }

private:
    enum class Prev { start, comma, item, slash };

    char peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    void skipBlanks() {
        while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
    }
    Status fault() const { return {Code::formatSyntax, static_cast<long>(pos_ + 1)}; }
    Status faultAt(std::size_t column) const { return {Code::formatSyntax, static_cast<long>(column)}; }
    Node open(int column) const {
        Node n;
        n.kind = Kind::groupOpen;
        n.column = column;
        return n;
    }

    // Digits with blanks between them, as formats allow; -1 when there is no digit.
    int number() {
        skipBlanks();
        if (!std::isdigit(static_cast<unsigned char>(peek()))) return -1;
        long value = 0;
        while (std::isdigit(static_cast<unsigned char>(peek()))) {
            value = value * 10 + (peek() - '0');
            if (value > kMaxCount) value = kMaxCount + 1L;
            ++pos_;
            skipBlanks();
        }
        return static_cast<int>(value);
    }

    // The list inside a group whose "(" has just been read; consumes the ")".
    Status list(std::vector<Node>& nodes, int depth) {
        const std::size_t first = nodes.size() - 1;
        Prev prev = Prev::start;
        for (;;) {
            skipBlanks();
            const char c = peek();
            const std::size_t column = pos_ + 1;
            if (c == ')') {
                const bool empty = prev == Prev::start;
                if (prev == Prev::comma || (empty && depth > 1)) return fault();
                ++pos_;
                Node close;
                close.kind = Kind::groupClose;
                close.column = static_cast<int>(column);
                close.partner = static_cast<int>(first);
                close.repeat = nodes[first].repeat;
                nodes[first].partner = static_cast<int>(nodes.size());
                nodes.push_back(close);
                return {};
            }
            if (c == ',') {
                if (prev != Prev::item && prev != Prev::slash) return fault();
                ++pos_;
                prev = Prev::comma;
                continue;
            }
            if (c == '\0') return fault();
            if (c == '\'' || c == '"') {
                if (prev == Prev::item) return fault();
                if (Status s = literal(nodes); !s.ok()) return s;
                prev = Prev::item;
                continue;
            }
            const int count = number();
            if (count == 0 || count > kMaxCount) return faultAt(column);
            const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(peek())));
            if (letter == '/') {
                ++pos_;
                Node n;
                n.kind = Kind::newRecord;
                n.repeat = count < 0 ? 1 : count;
                n.column = static_cast<int>(column);
                nodes.push_back(n);
                prev = Prev::slash;
                continue;
            }
            if (prev == Prev::item) return faultAt(column);  // a comma is missing
            if (letter == '(') {
                if (depth >= kMaxDepth) return fault();
                ++pos_;
                Node n = open(static_cast<int>(column));
                n.repeat = count < 0 ? 1 : count;
                nodes.push_back(n);
                if (Status s = list(nodes, depth + 1); !s.ok()) return s;
                prev = Prev::item;
                continue;
            }
            Node n;
            n.column = static_cast<int>(column);
            n.repeat = count < 0 ? 1 : count;
            ++pos_;
            switch (letter) {
            case 'I': n.kind = Kind::integer; break;
            case 'F': n.kind = Kind::fixed; break;
            case 'E': n.kind = Kind::exponent; break;
            case 'D': n.kind = Kind::dexponent; break;
            case 'A': n.kind = Kind::text; break;
            case 'X': n.kind = Kind::skip; break;
            default: --pos_; return fault();
            }
            if (n.kind == Kind::skip) {
                n.width = n.repeat;  // nX is one move of n columns, not n moves
                n.repeat = 1;
                skipBlanks();
                const std::size_t at = pos_ + 1;
                if (number() >= 0) return faultAt(at);
            } else {
                const int w = number();
                if (w == 0 || w > kMaxCount) return fault();
                n.hasWidth = w > 0;
                n.width = w;
                if (n.kind != Kind::text && !n.hasWidth) return fault();
                skipBlanks();
                if (peek() == '.') {
                    if (n.kind == Kind::text) return fault();
                    ++pos_;
                    const int d = number();
                    if (d < 0 || d > kMaxCount) return fault();
                    if (n.kind == Kind::integer && d > n.width) return fault();
                    n.digits = d;
                    n.hasDigits = true;
                } else if (n.kind != Kind::integer && n.kind != Kind::text) {
                    return fault();  // F, E and D need their decimals
                }
            }
            nodes.push_back(n);
            prev = Prev::item;
        }
    }

    Status literal(std::vector<Node>& nodes) {
        const char quote = peek();
        const std::size_t start = pos_;
        ++pos_;
        Node n;
        n.kind = Kind::literal;
        n.column = static_cast<int>(start + 1);
        for (;;) {
            if (pos_ >= text_.size()) return faultAt(start + 1);
            const char c = text_[pos_++];
            if (c == quote) {
                if (peek() != quote) break;
                ++pos_;
            }
            n.text.push_back(c);
        }
        nodes.push_back(std::move(n));
        return {};
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

std::string Status::message() const {
    std::string m = describe(code);
    const bool located = code != Code::ok && code != Code::noDataDescriptor &&
                         code != Code::endOfFile && code != Code::notOpen;
    if (located) m += " " + std::to_string(where);
    return m;
}

bool isData(Kind k) {
    return k == Kind::integer || k == Kind::fixed || k == Kind::exponent || k == Kind::dexponent ||
           k == Kind::text;
}

Format::Format(std::string_view text) {
    if (trimBlanks(text) == "*") {
        listDirected_ = true;
        status_ = {};
        return;
    }
    Parser parser(text);
    status_ = parser.run(nodes_);
    if (!status_.ok()) {
        nodes_.clear();
        return;
    }
    // Reversion goes back to the last group that opens at the outer level.
    int depth = 0;
    for (std::size_t i = 1; i + 1 < nodes_.size(); ++i) {
        if (nodes_[i].kind == Kind::groupOpen) {
            if (depth == 0) reversion_ = i;
            ++depth;
        } else if (nodes_[i].kind == Kind::groupClose) {
            --depth;
        }
    }
}

bool Format::hasData() const {
    for (const Node& n : nodes_)
        if (isData(n.kind)) return true;
    return false;
}

Status checkReadFormat(std::string_view text) {
    // A row comes blank-padded; its trailing blanks are no part of the format.
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    const Format format(text);
    if (!format.status().ok() || format.listDirected()) return format.status();
    for (const Node& n : format.nodes())
        if (n.kind == Kind::literal) return {Code::formatSyntax, n.column};
    if (!format.hasData()) return {Code::noDataDescriptor, static_cast<long>(text.size() > 0 ? text.size() : 1)};
    return {};
}

}  // namespace vireo::format
