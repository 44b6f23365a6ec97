#include "main/exchange/xml_stream.h"

#include <expat.h>
#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "main/exchange/sheet_grid.h"

namespace scorvane {
namespace {

struct Session {
    Session(XML_Parser p, XmlEvents& e) : parser(p), events(e) {}
    XML_Parser parser;
    XmlEvents& events;
    bool refused = false;
    bool finished = false;

    // Reading the first of two halves: the open elements' start tags are recorded up to the rows'
    // parent, and the parse ends at `split`, where a row of that parent must start.
    bool track = false;
    std::vector<std::pair<int64_t, int64_t>> open;  // offset and length of each open element's start tag
    bool parentFound = false;
    bool parentOpen = false;
    int depth = 0;
    int parentDepth = 0;
    std::string rowName;
    int64_t split = -1;
    bool atSplit = false;      // the parse ended at a row's start tag at `split`
    bool missedSplit = false;  // it ended at `split` on something else
    // Set from the other half's thread where its work has become useless: the parse then stops as
    // refused at its next element.
    const std::atomic<bool>* abandoned = nullptr;

    // Stops the parse: as done when the events have what they came for, else as refused.
    void stop() {
        if (events.finished && !refused) {
            finished = true;
        } else {
            refused = true;
        }
        XML_StopParser(parser, XML_FALSE);
    }
    bool stopped() const { return refused || finished || atSplit; }

    // False, the parse stopped, once an event reaches `split`: the first one there must be the start
    // tag of a row of the rows' parent.
    bool beforeSplit(const char* startName) {
        if (split < 0) {
            return true;
        }
        // The end of an empty-element tag ("<row/>") comes at the tag's end, with no bytes of its own.
        const int64_t at = XML_GetCurrentByteIndex(parser);
        if (at < split || (at == split && !startName && XML_GetCurrentByteCount(parser) == 0)) {
            return true;
        }
        atSplit = startName && at == split && parentOpen && depth == parentDepth && rowName == startName;
        missedSplit = !atSplit;
        refused = missedSplit;
        XML_StopParser(parser, XML_FALSE);
        return false;
    }
};

void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto* s = static_cast<Session*>(data);
    if (s->stopped() || !s->beforeSplit(name)) {
        return;
    }
    if (s->abandoned && s->abandoned->load(std::memory_order_relaxed)) {
        s->refused = true;
        XML_StopParser(s->parser, XML_FALSE);
        return;
    }
    if (s->track) {
        s->open.emplace_back(XML_GetCurrentByteIndex(s->parser), XML_GetCurrentByteCount(s->parser));
    }
    ++s->depth;
    if (!s->events.start(name, attributes)) {
        s->stop();
    } else if (s->track && !s->events.rowsHere.empty()) {
        s->track = false;
        s->parentFound = true;
        s->parentOpen = true;
        s->parentDepth = s->depth;
        s->rowName = s->events.rowsHere;
    }
}

void XMLCALL onEnd(void* data, const XML_Char* name) {
    auto* s = static_cast<Session*>(data);
    if (s->stopped() || !s->beforeSplit(nullptr)) {
        return;
    }
    if (s->track && !s->open.empty()) {
        s->open.pop_back();
    }
    if (s->parentOpen && s->depth == s->parentDepth) {
        s->parentOpen = false;
    }
    --s->depth;
    if (!s->events.end(name)) {
        s->stop();
    }
}

void XMLCALL onText(void* data, const XML_Char* text, int length) {
    auto* s = static_cast<Session*>(data);
    if (!s->stopped() && s->beforeSplit(nullptr) &&
        !s->events.text(std::string_view(text, static_cast<size_t>(length)))) {
        s->stop();
    }
}

void XMLCALL onDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    auto* s = static_cast<Session*>(data);
    s->refused = true;
    XML_StopParser(s->parser, XML_FALSE);
}

void XMLCALL onEntity(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                      const XML_Char*, const XML_Char*, const XML_Char*) {
    onDoctype(data, nullptr, nullptr, nullptr, 0);
}

constexpr size_t kLargePage = size_t{2} << 20;

// Asks the system for large pages for the whole large pages inside the block: a block of many
// megabytes written once otherwise faults 4 KB at a time.
void adviseLargePages(void* block, size_t size) {
#ifdef MADV_HUGEPAGE
    const uintptr_t at = reinterpret_cast<uintptr_t>(block);
    const uintptr_t from = (at + kLargePage - 1) & ~uintptr_t{kLargePage - 1};
    const uintptr_t to = (at + size) & ~uintptr_t{kLargePage - 1};
    if (to > from) {
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
    }
#else
    (void)block;
    (void)size;
#endif
}

// expat's buffer grows to the largest piece given at once, a whole half of a long sheet: such a
// buffer gets large pages.
void* parserMalloc(size_t size) {
    void* block = std::malloc(size);
    if (block && size >= 2 * kLargePage) {
        adviseLargePages(block, size);
    }
    return block;
}
void* parserRealloc(void* old, size_t size) {
    void* block = std::realloc(old, size);
    if (block && size >= 2 * kLargePage) {
        adviseLargePages(block, size);
    }
    return block;
}
const XML_Memory_Handling_Suite kParserMemory = {parserMalloc, parserRealloc, std::free};

class Parser {
  public:
    Parser(XmlEvents& events, bool namespaces)
        : session_(XML_ParserCreate_MM("UTF-8", &kParserMemory, namespaces ? "|" : nullptr), events) {
        XML_SetUserData(session_.parser, &session_);
        XML_SetElementHandler(session_.parser, onStart, onEnd);
        XML_SetCharacterDataHandler(session_.parser, onText);
        XML_SetStartDoctypeDeclHandler(session_.parser, onDoctype);
        XML_SetEntityDeclHandler(session_.parser, onEntity);
        XML_SetParamEntityParsing(session_.parser, XML_PARAM_ENTITY_PARSING_NEVER);
    }
    ~Parser() { XML_ParserFree(session_.parser); }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    bool feed(std::string_view bytes, bool last) {
        if (session_.stopped()) {
            return false;
        }
        // Large buffers go in pieces that fit expat's int length.
        while (bytes.size() > (1u << 30)) {
            if (!feed(bytes.substr(0, 1u << 30), false)) {
                return false;
            }
            bytes.remove_prefix(1u << 30);
        }
        const XML_Status status = XML_Parse(session_.parser, bytes.data(), static_cast<int>(bytes.size()),
                                            last ? XML_TRUE : XML_FALSE);
        return status == XML_STATUS_OK && !session_.stopped();
    }

    // Room for `size` bytes in the parser's own buffer, then those bytes parsed.
    char* buffer(size_t size) {
        return session_.stopped()
                   ? nullptr
                   : static_cast<char*>(XML_GetBuffer(session_.parser, static_cast<int>(size)));
    }
    bool parseBuffer(size_t size, bool last) {
        if (session_.stopped()) {
            return false;
        }
        const XML_Status status =
            XML_ParseBuffer(session_.parser, static_cast<int>(size), last ? XML_TRUE : XML_FALSE);
        return status == XML_STATUS_OK && !session_.stopped();
    }

    bool finished() const { return session_.finished && !session_.refused; }
    Session& session() { return session_; }

  private:
    Session session_;
};

bool isSeparator(char c) {
    return c == '|' || c == ':';
}

}  // namespace

const char* XmlLocalName(const char* name) {
    const char* local = name;
    for (const char* p = name; *p; ++p) {
        if (isSeparator(*p)) {
            local = p + 1;
        }
    }
    return local;
}

bool XmlNameIs(const char* name, std::string_view prefix, std::string_view local) {
    for (const char c : prefix) {
        if (*name++ != c) {
            return false;
        }
    }
    for (const char c : local) {
        if (*name++ != c) {
            return false;
        }
    }
    return *name == '\0';
}

bool XmlLocalNameIs(const char* name, std::string_view local) {
    return XmlNameIs(XmlLocalName(name), {}, local);
}

const char* XmlAttribute(const char** attributes, std::string_view name) {
    const bool local = name.find_first_of("|:") == std::string_view::npos;
    for (size_t i = 0; attributes[i]; i += 2) {
        if (XmlNameIs(local ? XmlLocalName(attributes[i]) : attributes[i], {}, name)) {
            return attributes[i + 1];
        }
    }
    return nullptr;
}

bool ParseXmlMember(ZipArchive& archive, int64_t member, XmlEvents& events, bool namespaces) {
    Parser parser(events, namespaces);
    const bool read = archive.readInto(
        member, [&parser](size_t size) { return parser.buffer(size); },
        [&parser](size_t size) { return parser.parseBuffer(size, false); });
    if (parser.finished()) {
        return true;
    }
    return read && parser.parseBuffer(0, true);
}

namespace {

// Below this the member is read in one piece: two threads would not pay for themselves.
constexpr size_t kHalvesFrom = 1 << 20;
constexpr size_t kPiece = 1 << 18;

// Room for a long member's bytes, taken from the system in one block: not cleared beforehand (the
// unpacking writes every byte once), and in the large pages the system gives to a block that asks
// for them, so that filling it does not fault 4 KB at a time (thousands of faults, on the unpacking
// thread, for a 25 MB sheet).
class UnpackRoom {
  public:
    explicit UnpackRoom(size_t size) : mapped_(size + kLargePage) {
        map_ = mmap(nullptr, mapped_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (map_ == MAP_FAILED) {
            throw std::bad_alloc();
        }
        const auto at = (reinterpret_cast<uintptr_t>(map_) + kLargePage - 1) & ~uintptr_t{kLargePage - 1};
        data_ = reinterpret_cast<char*>(at);
        adviseLargePages(map_, mapped_);
    }
    ~UnpackRoom() { munmap(map_, mapped_); }
    UnpackRoom(const UnpackRoom&) = delete;
    UnpackRoom& operator=(const UnpackRoom&) = delete;
    char* data() const { return data_; }

  private:
    size_t mapped_;
    void* map_ = nullptr;
    char* data_ = nullptr;
};

// Where a row's start tag "<name" begins at or after `from` (a candidate the first half's parser
// confirms), or npos.
size_t findRow(std::string_view bytes, size_t from, const std::string& name) {
    const std::string tag = "<" + name;
    for (size_t at = bytes.find(tag, from); at != std::string_view::npos; at = bytes.find(tag, at + 1)) {
        const size_t next = at + tag.size();
        if (next < bytes.size() && std::strchr(" \t\r\n/>", bytes[next]) != nullptr && bytes[next] != '\0') {
            return at;
        }
    }
    return std::string_view::npos;
}

// Where the start tag that begins at `at` ends (just after its '>'), or the end of `bytes`. A '>' in a
// quoted attribute value does not end it.
size_t tagEnd(std::string_view bytes, size_t at) {
    char quote = 0;
    for (size_t i = at; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (quote) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return bytes.size();
}

// Whether expat failed on bytes only because they stop where the document goes on.
bool cutShort(XML_Error error) {
    return error == XML_ERROR_UNCLOSED_TOKEN || error == XML_ERROR_PARTIAL_CHAR ||
           error == XML_ERROR_NO_ELEMENTS || error == XML_ERROR_UNCLOSED_CDATA_SECTION;
}

// The rest of the first half once the split is known: the bytes from `fed` to the end of the row's
// start tag at the split, given as the last piece so that expat keeps no line count of them (a pass
// over every byte of each piece that is not the last). Where it does not stop at the split, `failed`
// tells whether the whole document would fail the same: not where it only ran out of bytes.
void readFirstHalfRest(Parser& one, std::string_view bytes, size_t fed, size_t split,
                       std::atomic<bool>& abandoned, bool& failed) {
    Session& head = one.session();
    head.abandoned = &abandoned;
    const bool read = one.feed(bytes.substr(fed, tagEnd(bytes, split) - fed), true);
    if (!head.atSplit) {
        failed = !read && !head.missedSplit && !abandoned.load() &&
                 (head.refused || !cutShort(XML_GetErrorCode(head.parser)));
        abandoned = true;
    }
}

}  // namespace

// The second half, from the row at `split` after the start tags of its ancestors, read on this thread
// while `firstHalf` reads up to it; then the halves joined, or, where they cannot be, the result of the
// first half alone (it failed or finished of itself) or the whole read again in one piece.
bool readSecondHalf(std::string_view bytes, size_t split, std::string_view ancestors, XmlHalves& halves,
                    Parser& one, std::thread& firstHalf, std::atomic<bool>& abandoned,
                    const bool& firstFailed) {
    bool secondRead = false;
    {
        Parser two(halves.second(), false);
        two.session().abandoned = &abandoned;
        // In one last piece, which spares expat its line count.
        secondRead = (two.feed(ancestors, false) && two.feed(bytes.substr(split), true)) || two.finished();
        if (!secondRead) {
            abandoned = true;
        }
    }
    firstHalf.join();
    const Session& head = one.session();
    if (head.atSplit && secondRead && halves.join()) {
        return true;
    }
    if (!head.atSplit && (one.finished() || firstFailed)) {
        return one.finished();
    }
    halves.restart();
    Parser whole(halves.first(), false);
    return whole.feed(bytes, true) || whole.finished();
}

bool ParseXmlBytesInHalves(std::string_view bytes, XmlHalves& halves) {
    Parser one(halves.first(), false);
    Session& head = one.session();
    head.track = true;
    // The head of the document, up to the rows' parent.
    size_t fed = 0;
    while (!head.parentFound && fed < bytes.size()) {
        const std::string_view piece = bytes.substr(fed, 1 << 16);
        fed += piece.size();
        if (!one.feed(piece, false)) {
            return one.finished();
        }
    }
    head.track = false;
    const size_t middle = fed + (bytes.size() - fed) / 2;
    const size_t split = head.parentFound && bytes.size() - fed >= kHalvesFrom / 2
                             ? findRow(bytes, std::max(fed, middle), head.rowName)
                             : std::string_view::npos;
    if (split == std::string_view::npos) {
        return one.feed(bytes.substr(fed), true) || one.finished();
    }
    head.split = static_cast<int64_t>(split);

    // The second half: the XML declaration, the start tags of the row's ancestors, then the rows on.
    std::string ancestors(bytes.substr(0, head.open.empty() ? 0 : static_cast<size_t>(head.open[0].first)));
    for (const auto& [offset, length] : head.open) {
        ancestors.append(bytes.substr(static_cast<size_t>(offset), static_cast<size_t>(length)));
    }
    std::atomic<bool> abandoned = false;
    bool firstFailed = false;  // before the split, of itself: the whole would fail the same
    std::thread firstHalf([&] { readFirstHalfRest(one, bytes, fed, split, abandoned, firstFailed); });
    return readSecondHalf(bytes, split, ancestors, halves, one, firstHalf, abandoned, firstFailed);
}

bool ParseXmlMemberInHalves(ZipArchive& archive, int64_t member, XmlHalves& halves) {
    const int64_t claimed = archive.claimedSize(member);
    if (claimed < static_cast<int64_t>(kHalvesFrom)) {
        return ParseXmlMember(archive, member, halves.first(), false);
    }
    // The first half is read on its thread while the member is unpacked into a buffer that never
    // moves; the split is chosen once the whole is there, in the middle of what the first half has
    // not read yet. A member larger than it claimed stops that thread and is read as bytes in memory.
    const size_t room = static_cast<size_t>(std::min(claimed, kMaxWorkbookBytes)) + (1 << 16) + 1;
    const UnpackRoom block(room);
    char* const base = block.data();
    std::mutex mutex;
    std::condition_variable changed;
    size_t published = 0;
    bool done = false;
    bool decided = false;
    size_t split = std::string_view::npos;
    std::string ancestors;
    std::atomic<bool> abandoned = false;

    Parser one(halves.first(), false);
    Session& head = one.session();
    head.track = true;
    bool wholeRead = false;    // the first half's thread read the whole document
    bool firstFailed = false;  // before the split, of itself: the whole would fail the same
    auto decide = [&](size_t at, std::string prefix) {
        const std::lock_guard lock(mutex);
        decided = true;
        split = at;
        ancestors = std::move(prefix);
        changed.notify_all();
    };
    std::thread firstHalf([&] {
        size_t fed = 0;
        size_t bound = std::string_view::npos;  // how far to read before the whole is there
        while (true) {
            size_t available = 0;
            bool all = false;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] {
                    return abandoned.load() || done ||
                           (published > fed && (bound == std::string_view::npos || fed < bound));
                });
                if (abandoned.load()) {
                    return;
                }
                available = published;
                all = done;
            }
            if (all && (head.parentFound || available == fed)) {
                break;
            }
            const size_t to = std::min(available, head.parentFound ? bound : available);
            const size_t piece = std::min(to - fed, head.parentFound ? kPiece : size_t{1 << 16});
            const bool read = one.feed(std::string_view(base + fed, piece), false);
            fed += piece;
            if (!read) {
                wholeRead = one.finished();
                decide(std::string_view::npos, {});
                return;
            }
            if (head.parentFound && bound == std::string_view::npos) {
                head.track = false;
                bound =
                    fed + (static_cast<size_t>(claimed) - std::min(fed, static_cast<size_t>(claimed))) / 2;
            }
        }
        const std::string_view whole(base, published);
        const size_t middle = fed + (whole.size() - fed) / 2;
        const size_t at = head.parentFound && whole.size() - fed >= kHalvesFrom / 2
                              ? findRow(whole, std::max(fed, middle), head.rowName)
                              : std::string_view::npos;
        if (at == std::string_view::npos) {
            head.track = false;
            wholeRead = one.feed(whole.substr(fed), true) || one.finished();
            decide(at, {});
            return;
        }
        head.split = static_cast<int64_t>(at);
        std::string prefix(whole.substr(0, head.open.empty() ? 0 : static_cast<size_t>(head.open[0].first)));
        for (const auto& [offset, length] : head.open) {
            prefix.append(whole.substr(static_cast<size_t>(offset), static_cast<size_t>(length)));
        }
        decide(at, std::move(prefix));
        readFirstHalfRest(one, whole, fed, at, abandoned, firstFailed);
    });
    auto stopFirstHalf = [&] {
        {
            const std::lock_guard lock(mutex);
            abandoned = true;
            changed.notify_all();
        }
        if (firstHalf.joinable()) {
            firstHalf.join();
        }
    };

    size_t size = 0;
    std::string grown;  // the bytes once they outgrew the block
    bool moved = false;
    const bool read = archive.readInto(
        member,
        [&](size_t wanted) {
            if (size + wanted > room && !moved) {
                stopFirstHalf();
                moved = true;
                grown.assign(base, size);
            }
            if (moved) {
                grown.resize(size + wanted);
                return grown.data() + size;
            }
            return base + size;
        },
        [&](size_t filled) {
            size += filled;
            if (!moved) {
                const std::lock_guard lock(mutex);
                published = size;
                changed.notify_all();
            }
            return true;
        });
    if (!read) {
        stopFirstHalf();
        return false;
    }
    if (moved) {
        grown.resize(size);  // the room asked for after the last bytes
        halves.restart();
        return ParseXmlBytesInHalves(grown, halves);
    }
    {
        std::unique_lock lock(mutex);
        published = size;
        done = true;
        changed.notify_all();
        changed.wait(lock, [&] { return decided; });
    }
    if (split == std::string_view::npos) {
        firstHalf.join();
        return wholeRead;
    }
    return readSecondHalf(std::string_view(base, size), split, ancestors, halves, one, firstHalf, abandoned,
                          firstFailed);
}

bool ParseXmlBytes(std::string_view bytes, XmlEvents& events, bool namespaces) {
    Parser parser(events, namespaces);
    return parser.feed(bytes, true) || parser.finished();
}

}  // namespace scorvane
