#include "common/ini_store.h"

#include "common/file_io.h"
#include "common/line_reader.h"
#include "common/text_codec.h"
#include "common/utf8.h"

namespace scorvane {
namespace {

std::string_view trimBlanks(std::string_view s) {
    size_t b = 0;
    size_t e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r'))
        --e;
    return s.substr(b, e - b);
}

}  // namespace

std::string FlattenLineBreaks(std::string_view value) {
    std::string v = ReplaceAll(value, "\r\n", "[/]");
    v = ReplaceAll(v, "\n", "[/]");
    return ReplaceAll(v, "\r", "[/]");
}

IniStore::Line IniStore::parse(std::string raw) {
    Line line;
    std::string_view t = trimBlanks(raw);
    if (!t.empty() && t.front() == '[') {
        size_t close = t.find(']');
        if (close != std::string_view::npos) {
            line.kind = Line::Section;
            line.name = std::string(trimBlanks(t.substr(1, close - 1)));
        }
    } else if (!t.empty() && t.front() != ';') {
        size_t eq = raw.find('=');
        if (eq != std::string::npos) {
            line.kind = Line::Entry;
            line.name = std::string(trimBlanks(std::string_view(raw).substr(0, eq)));
            line.valueStart = eq + 1;
        }
    }
    line.raw = std::move(raw);
    return line;
}

IniStore IniStore::fromText(std::string_view utf8Text) {
    IniStore store;
    LineReader reader(utf8Text);
    std::string_view line;
    while (reader.next(line)) {
        store.lines_.push_back(parse(std::string(line)));
    }
    return store;
}

bool IniStore::load(const std::string& path) {
    lines_.clear();
    index_.reset();
    auto bytes = ReadWholeFile(path);
    if (!bytes) {
        return false;
    }
    *this = fromText(DecodeGbk(*bytes));
    return true;
}

bool IniStore::save(const std::string& path, FileState* written) const {
    return WriteFileAtomically(path, EncodeGbk(text()), nullptr, written);
}

const IniStore::Index& IniStore::index() const {
    if (index_) {
        return *index_;
    }
    Index index;
    SectionIndex* current = nullptr;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& l = lines_[i];
        if (l.kind == Line::Section) {
            if (current) {
                current->end = i;
            }
            auto [it, added] = index.try_emplace(ToLowerAscii(l.name));
            // A later section of the same name is not read: lookups stop at the first.
            current = added ? &it->second : nullptr;
            if (current) {
                current->begin = i;
            }
        } else if (l.kind == Line::Entry && current) {
            current->keys.try_emplace(ToLowerAscii(l.name), i);
        }
    }
    if (current) {
        current->end = lines_.size();
    }
    index_ = std::move(index);
    return *index_;
}

const IniStore::SectionIndex* IniStore::indexedSection(std::string_view section) const {
    const Index& sections = index();
    auto it = sections.find(ToLowerAscii(trimBlanks(section)));
    return it == sections.end() ? nullptr : &it->second;
}

bool IniStore::findSection(std::string_view section, size_t& begin, size_t& end) const {
    if (!index_) {
        // A store being written changes between lookups: one pass over its lines, no index made.
        std::string_view wanted = trimBlanks(section);
        for (size_t i = 0; i < lines_.size(); ++i) {
            if (lines_[i].kind == Line::Section && EqualsIgnoreCaseAscii(lines_[i].name, wanted)) {
                begin = i;
                end = i + 1;
                while (end < lines_.size() && lines_[end].kind != Line::Section) {
                    ++end;
                }
                return true;
            }
        }
        return false;
    }
    const SectionIndex* found = indexedSection(section);
    if (!found) {
        return false;
    }
    begin = found->begin;
    end = found->end;
    return true;
}

bool IniStore::hasSection(std::string_view section) const {
    size_t b, e;
    return findSection(section, b, e);
}

std::vector<std::pair<std::string, std::string>> IniStore::entries(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> out;
    size_t begin, end;
    if (!findSection(section, begin, end)) {
        return out;
    }
    for (size_t i = begin + 1; i < end; ++i) {
        const Line& l = lines_[i];
        if (l.kind == Line::Entry) {
            out.emplace_back(l.name, std::string(trimBlanks(std::string_view(l.raw).substr(l.valueStart))));
        }
    }
    return out;
}

std::optional<std::string> IniStore::value(std::string_view section, std::string_view key) const {
    const SectionIndex* found = indexedSection(section);
    if (!found) {
        return std::nullopt;
    }
    auto it = found->keys.find(ToLowerAscii(trimBlanks(key)));
    if (it == found->keys.end()) {
        return std::nullopt;
    }
    const Line& l = lines_[it->second];
    return std::string(trimBlanks(std::string_view(l.raw).substr(l.valueStart)));
}

std::string IniStore::value(std::string_view section, std::string_view key, std::string_view fallback) const {
    auto v = value(section, key);
    return v ? *v : std::string(fallback);
}

void IniStore::setValue(std::string_view section, std::string_view key, std::string_view value) {
    size_t begin, end;
    if (!findSection(section, begin, end)) {
        appendSection(section);
        appendEntry(key, value);
        return;
    }
    std::string entry = std::string(trimBlanks(key)) + "=" + FlattenLineBreaks(value);
    std::string_view wanted = trimBlanks(key);
    size_t lastEntry = begin;
    for (size_t i = begin + 1; i < end; ++i) {
        if (lines_[i].kind == Line::Entry) {
            if (EqualsIgnoreCaseAscii(lines_[i].name, wanted)) {
                lines_[i] = parse(entry);
                return;  // the same key on the same line: the index stays true
            }
            lastEntry = i;
        }
    }
    lines_.insert(lines_.begin() + static_cast<long>(lastEntry + 1), parse(entry));
    index_.reset();
}

void IniStore::appendLine(std::string_view line) {
    index_.reset();
    lines_.push_back(parse(FlattenLineBreaks(line)));
}

void IniStore::appendSection(std::string_view section) {
    index_.reset();
    lines_.push_back(parse("[" + std::string(trimBlanks(section)) + "]"));
}

void IniStore::appendEntry(std::string_view key, std::string_view value) {
    index_.reset();
    lines_.push_back(parse(std::string(trimBlanks(key)) + "=" + FlattenLineBreaks(value)));
}

std::string IniStore::text() const {
    std::string out;
    for (const Line& l : lines_) {
        out += l.raw;
        out += "\r\n";
    }
    return out;
}

}  // namespace scorvane
