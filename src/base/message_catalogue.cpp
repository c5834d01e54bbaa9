#include "base/message_catalogue.h"

#include <cstdint>
#include <cstring>

namespace pd {

// The Plural-Forms expression as a tree: C's operators on unsigned numbers.
struct MessageCatalogue::Rule {
    enum Kind { Number, N, Not, Binary, Choice } kind = Number;
    unsigned long value = 0;  // Number's
    std::string op;           // Binary's
    std::shared_ptr<const Rule> a, b, c;

    unsigned long operator()(unsigned long n) const {
        switch (kind) {
        case Number: return value;
        case N: return n;
        case Not: return !(*a)(n);
        case Choice: return (*a)(n) ? (*b)(n) : (*c)(n);
        case Binary: break;
        }
        const unsigned long x = (*a)(n);
        if (op == "&&") return x && (*b)(n);
        if (op == "||") return x || (*b)(n);
        const unsigned long y = (*b)(n);
        if (op == "%") return y == 0 ? 0 : x % y;  // gettext's would trap; a form 0 is kinder
        if (op == "/") return y == 0 ? 0 : x / y;
        if (op == "*") return x * y;
        if (op == "+") return x + y;
        if (op == "-") return x - y;
        if (op == "==") return x == y;
        if (op == "!=") return x != y;
        if (op == "<") return x < y;
        if (op == ">") return x > y;
        if (op == "<=") return x <= y;
        return x >= y;
    }
};

namespace {

using Rule = MessageCatalogue::Rule;
using RulePtr = std::shared_ptr<const Rule>;

// A recursive-descent reader of the rule, by C's precedence. Null on any
// fault; nesting is bounded so that a hostile catalogue cannot exhaust the
// stack.
class RuleReader {
public:
    explicit RuleReader(const std::string& text) : text_(text) {}

    RulePtr whole() {
        RulePtr rule = choice();
        space();
        return pos_ == text_.size() ? rule : nullptr;
    }

private:
    // Deeper or larger rules than any language needs are refused: the tree
    // is walked and freed by recursion.
    static constexpr int maxDepth = 100, maxNodes = 1000;
    const std::string& text_;
    std::size_t pos_ = 0;
    int depth_ = 0, nodes_ = 0;

    void space() {
        while (pos_ < text_.size() && std::strchr(" \t\n", text_[pos_]) != nullptr && text_[pos_] != '\0') ++pos_;
    }
    // Takes `op` when it comes next (and is not the start of a longer one).
    bool take(const char* op) {
        space();
        const std::size_t length = std::strlen(op);
        if (text_.compare(pos_, length, op) != 0) return false;
        const char next = pos_ + length < text_.size() ? text_[pos_ + length] : '\0';
        if (length == 1 && std::strchr("<>!=", op[0]) && next == '=') return false;
        if (length == 1 && std::strchr("&|", op[0])) return false;
        pos_ += length;
        return true;
    }
    RulePtr node(Rule::Kind kind, RulePtr a, RulePtr b = nullptr, RulePtr c = nullptr, std::string op = "") {
        if (!a || (kind != Rule::Not && !b) || (kind == Rule::Choice && !c) || ++nodes_ > maxNodes) return nullptr;
        auto rule = std::make_shared<Rule>();
        rule->kind = kind, rule->a = std::move(a), rule->b = std::move(b), rule->c = std::move(c);
        rule->op = std::move(op);
        return rule;
    }

    RulePtr choice() {
        if (++depth_ > maxDepth) return nullptr;
        RulePtr condition = binary(0);
        if (condition && take("?")) {
            RulePtr yes = choice();
            if (!take(":")) return nullptr;
            condition = node(Rule::Choice, condition, yes, choice());
        }
        --depth_;
        return condition;
    }

    // Operators from the loosest to the tightest, each level left to right.
    RulePtr binary(int level) {
        static const std::vector<std::vector<const char*>> levels = {
            {"||"}, {"&&"}, {"==", "!="}, {"<=", ">=", "<", ">"}, {"+", "-"}, {"*", "/", "%"}};
        if (level == int(levels.size())) return unary();
        RulePtr left = binary(level + 1);
        for (bool more = true; left && more;) {
            more = false;
            for (const char* op : levels[level])
                if (take(op)) {
                    left = node(Rule::Binary, left, binary(level + 1), nullptr, op);
                    more = true;
                    break;
                }
        }
        return left;
    }

    RulePtr unary() {
        if (take("!")) {
            if (++depth_ > maxDepth) return nullptr;
            RulePtr inner = node(Rule::Not, unary());
            --depth_;
            return inner;
        }
        space();
        if (take("(")) {
            RulePtr inner = choice();
            return take(")") ? inner : nullptr;
        }
        if (pos_ < text_.size() && text_[pos_] == 'n') {
            ++pos_;
            auto rule = std::make_shared<Rule>();
            rule->kind = Rule::N;
            return rule;
        }
        if (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            auto rule = std::make_shared<Rule>();
            while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9' && rule->value < 1000000000UL)
                rule->value = rule->value * 10 + static_cast<unsigned long>(text_[pos_++] - '0');
            return rule;
        }
        return nullptr;
    }
};

// A 32-bit word at `at`, in the catalogue's byte order.
bool word(const std::string& bytes, std::size_t at, bool swapped, std::uint32_t& value) {
    if (at > bytes.size() || bytes.size() - at < 4) return false;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    value = swapped ? (std::uint32_t(b[0]) << 24 | std::uint32_t(b[1]) << 16 | std::uint32_t(b[2]) << 8 | b[3])
                    : (std::uint32_t(b[3]) << 24 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[1]) << 8 | b[0]);
    return true;
}

// The string that entry `index` of the table at `table` describes.
bool entry(const std::string& bytes, std::uint32_t table, std::uint32_t index, bool swapped, std::string& text) {
    std::uint32_t length = 0, offset = 0;
    const std::size_t at = std::size_t(table) + 8 * std::size_t(index);
    if (!word(bytes, at, swapped, length) || !word(bytes, at + 4, swapped, offset)) return false;
    if (offset > bytes.size() || bytes.size() - offset <= length || bytes[offset + length] != '\0') return false;
    text.assign(bytes, offset, length);
    return true;
}

}  // namespace

Result<MessageCatalogue> MessageCatalogue::read(const std::string& bytes) {
    std::uint32_t magic = 0, count = 0, originals = 0, translations = 0;
    if (!word(bytes, 0, false, magic) || (magic != 0x950412de && magic != 0xde120495))
        return failure("not a message catalogue: its magic number is wrong");
    const bool swapped = magic != 0x950412de;
    if (!word(bytes, 8, swapped, count) || !word(bytes, 12, swapped, originals) ||
        !word(bytes, 16, swapped, translations))
        return failure("the message catalogue is cut short in its header");
    if (count > bytes.size() / 16) return failure("the message catalogue claims more messages than it can hold");
    MessageCatalogue catalogue;
    std::string header;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string original, translated;
        if (!entry(bytes, originals, i, swapped, original) || !entry(bytes, translations, i, swapped, translated))
            return failure("message " + std::to_string(i) + " of the catalogue lies outside it");
        std::vector<std::string> forms;
        for (std::size_t start = 0; start <= translated.size();) {
            const std::size_t end = std::min(translated.find('\0', start), translated.size());
            forms.push_back(translated.substr(start, end - start));
            start = end + 1;
        }
        if (original.empty()) header = translated;
        // A counted text is keyed by its singular: "SINGULAR\0PLURAL".
        catalogue.messages_[original.substr(0, original.find('\0'))] = std::move(forms);
    }
    std::string expression = "n != 1";
    const std::size_t rule = header.find("plural=");
    if (rule != std::string::npos) {
        const std::size_t start = rule + 7;
        expression = header.substr(start, std::min(header.find_first_of(";\n", start), header.size()) - start);
    }
    catalogue.plural_ = RuleReader(expression).whole();
    if (!catalogue.plural_) return failure("the catalogue's plural rule '" + expression + "' does not parse");
    return catalogue;
}

const char* MessageCatalogue::find(const std::string& key) const {
    const auto found = messages_.find(key);
    return found == messages_.end() || key.empty() || found->second[0].empty() ? nullptr : found->second[0].c_str();
}

const char* MessageCatalogue::findPlural(const std::string& key, unsigned long n) const {
    const auto found = messages_.find(key);
    if (found == messages_.end() || key.empty()) return nullptr;
    const unsigned long form = pluralForm(n);
    const std::string& text = found->second[form < found->second.size() ? form : 0];
    return text.empty() ? nullptr : text.c_str();
}

unsigned long MessageCatalogue::pluralForm(unsigned long n) const { return (*plural_)(n); }

}  // namespace pd
