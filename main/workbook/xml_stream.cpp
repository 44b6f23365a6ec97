#include "main/workbook/xml_stream.h"

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

#include "main/workbook/sheet_grid.h"

namespace scorvane {
namespace {

// The rest of a long document cut at rows into pieces: the first reader takes them from the front,
// in order, as it reaches them; the other thread takes them from the back, the last one from the
// start.
struct Pieces {
    std::vector<size_t> starts;  // where each piece begins, at a row's start tag
    std::string ancestors;       // the XML declaration and the start tags of the rows' ancestors
    int depth = 0;               // how many start tags those are
    std::string rowName;
    std::mutex mutex;
    size_t front = 0;  // the pieces before it are the first reader's
    size_t back = 0;   // the pieces from it on are the other thread's

    // Whether the first reader, at the start of piece k, goes on into it.
    bool takeFront(size_t k) {
        const std::lock_guard lock(mutex);
        if (k == front && k < back) {
            ++front;
            return true;
        }
        return false;
    }
    // The next piece for the other thread, false when they are all taken.
    bool takeBack(size_t& k) {
        const std::lock_guard lock(mutex);
        if (back <= front) {
            return false;
        }
        k = --back;
        return true;
    }
};

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
    // Set from the other thread where its work has become useless: the parse then stops as refused
    // at its next element.
    const std::atomic<bool>* abandoned = nullptr;
    // The first reader of a document cut into pieces: `split` is the start of piece `nextPiece`.
    Pieces* pieces = nullptr;
    size_t nextPiece = 0;

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
        if (pieces && pieces->takeFront(nextPiece)) {
            ++nextPiece;
            split = nextPiece < pieces->starts.size() ? static_cast<int64_t>(pieces->starts[nextPiece]) : -1;
            return beforeSplit(startName);
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
// Into how many pieces what is left of a long document is cut: small enough that the two threads end
// close together whichever of them the machine favours.
constexpr size_t kPieceCount = 64;

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

// Cuts what is left after `fed`, where the first reader stands among the rows, into pieces of about
// a 64th of it, from a fifth of the way in (the first reader reads that much anyway). None where it is
// short or holds no row's start tag there.
void cut(Pieces& pieces, std::string_view bytes, size_t fed, const Session& head) {
    const size_t rest = bytes.size() - std::min(fed, bytes.size());
    if (!head.parentFound || rest < kHalvesFrom / 2) {
        return;
    }
    const size_t step = std::max(rest / kPieceCount, size_t{1} << 15);
    for (size_t from = fed + rest / 5; from < bytes.size();) {
        const size_t at = findRow(bytes, from, head.rowName);
        if (at == std::string_view::npos) {
            break;
        }
        pieces.starts.push_back(at);
        from = at + step;
    }
    if (pieces.starts.empty()) {
        return;
    }
    pieces.ancestors.assign(bytes.substr(0, head.open.empty() ? 0 : static_cast<size_t>(head.open[0].first)));
    for (const auto& [offset, length] : head.open) {
        pieces.ancestors.append(bytes.substr(static_cast<size_t>(offset), static_cast<size_t>(length)));
    }
    pieces.depth = static_cast<int>(head.open.size());
    pieces.rowName = head.rowName;
    pieces.back = pieces.starts.size() - 1;
}

// How the first reader's part ended where it did not stop at a piece of the other thread's.
struct FirstOutcome {
    bool read = false;    // the whole document, alone
    bool failed = false;  // of itself: the whole would fail the same
};

// The first reader's part once the document is cut: from `fed` on, in one last piece (which spares
// expat a line count of every byte), until the start of a piece the other thread took.
void readFirstRest(Parser& one, std::string_view bytes, size_t fed, Pieces& pieces,
                   std::atomic<bool>& abandoned, FirstOutcome& outcome) {
    Session& head = one.session();
    head.abandoned = &abandoned;
    head.pieces = &pieces;
    head.split = static_cast<int64_t>(pieces.starts[0]);
    const bool read = one.feed(bytes.substr(fed), true);
    if (!head.atSplit) {
        outcome.read = read || one.finished();
        outcome.failed = !read && !head.missedSplit && !abandoned.load();
        abandoned = true;
    }
}

// Piece k, after the start tags of its row's ancestors, up to the start of the next piece (stopping
// there at a row of the rows' parent) or to the end.
bool readPiece(std::string_view bytes, const Pieces& pieces, size_t k, XmlEvents& events,
               const std::atomic<bool>& abandoned) {
    Parser reader(events, false);
    Session& s = reader.session();
    s.abandoned = &abandoned;
    s.parentOpen = true;
    s.parentDepth = pieces.depth;
    s.rowName = pieces.rowName;
    const size_t from = pieces.starts[k];
    if (k + 1 == pieces.starts.size()) {
        return (reader.feed(pieces.ancestors, false) && reader.feed(bytes.substr(from), true)) ||
               reader.finished();
    }
    const size_t to = pieces.starts[k + 1];
    s.split = static_cast<int64_t>(pieces.ancestors.size() + (to - from));
    if (reader.feed(pieces.ancestors, false)) {
        reader.feed(bytes.substr(from, tagEnd(bytes, to) - from), true);
    }
    return s.atSplit || reader.finished();
}

// The pieces read on this thread from the back while `firstReader` reads on from the front; then
// the pieces joined to the first reader's part, or, where they cannot be, the result of the first
// reader alone (it read the whole, failed or finished of itself) or the whole read again in one piece.
bool readPieces(std::string_view bytes, Pieces& pieces, XmlHalves& halves, Parser& one,
                std::thread& firstReader, std::atomic<bool>& abandoned, const FirstOutcome& first) {
    bool piecesRead = true;
    size_t k = pieces.starts.size() - 1;
    do {
        if (!readPiece(bytes, pieces, k, halves.piece(k), abandoned)) {
            piecesRead = false;
            abandoned = true;
        }
    } while (piecesRead && !abandoned.load() && pieces.takeBack(k));
    firstReader.join();
    const Session& head = one.session();
    if (head.atSplit && piecesRead) {
        bool joined = true;
        for (size_t j = pieces.back; j < pieces.starts.size() && joined; ++j) {
            joined = halves.join(j);
        }
        if (joined) {
            return true;
        }
    } else if (!head.atSplit && (first.read || first.failed)) {
        return first.read;
    }
    halves.restart();
    Parser whole(halves.first(), false);
    return whole.feed(bytes, true) || whole.finished();
}

}  // namespace

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
    Pieces pieces;
    cut(pieces, bytes, fed, head);
    if (pieces.starts.empty()) {
        return one.feed(bytes.substr(fed), true) || one.finished();
    }
    std::atomic<bool> abandoned = false;
    FirstOutcome first;
    std::thread firstReader([&] { readFirstRest(one, bytes, fed, pieces, abandoned, first); });
    return readPieces(bytes, pieces, halves, one, firstReader, abandoned, first);
}

bool ParseXmlMemberInHalves(ZipArchive& archive, int64_t member, XmlHalves& halves) {
    const int64_t claimed = archive.claimedSize(member);
    if (claimed < static_cast<int64_t>(kHalvesFrom)) {
        return ParseXmlMember(archive, member, halves.first(), false);
    }
    // The first reader reads on its thread while the member is unpacked into a buffer that never
    // moves; what it has not read yet is cut into pieces once the whole is there. A member larger
    // than it claimed stops that thread and is read as bytes in memory.
    const size_t room = static_cast<size_t>(std::min(claimed, kMaxWorkbookBytes)) + (1 << 16) + 1;
    const UnpackRoom block(room);
    char* const base = block.data();
    std::mutex mutex;
    std::condition_variable changed;
    size_t published = 0;
    bool done = false;
    bool decided = false;
    Pieces pieces;
    std::atomic<bool> abandoned = false;

    Parser one(halves.first(), false);
    Session& head = one.session();
    head.track = true;
    bool wholeRead = false;  // the first reader's thread read the whole document in one piece
    FirstOutcome first;
    auto decide = [&] {
        const std::lock_guard lock(mutex);
        decided = true;
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
                decide();
                return;
            }
            if (head.parentFound && bound == std::string_view::npos) {
                head.track = false;
                bound =
                    fed + (static_cast<size_t>(claimed) - std::min(fed, static_cast<size_t>(claimed))) / 2;
            }
        }
        const std::string_view whole(base, published);
        head.track = false;
        cut(pieces, whole, fed, head);
        if (pieces.starts.empty()) {
            wholeRead = one.feed(whole.substr(fed), true) || one.finished();
            decide();
            return;
        }
        decide();
        readFirstRest(one, whole, fed, pieces, abandoned, first);
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
    if (pieces.starts.empty()) {
        firstHalf.join();
        return wholeRead;
    }
    return readPieces(std::string_view(base, size), pieces, halves, one, firstHalf, abandoned, first);
}

bool ParseXmlBytes(std::string_view bytes, XmlEvents& events, bool namespaces) {
    Parser parser(events, namespaces);
    return parser.feed(bytes, true) || parser.finished();
}

}  // namespace scorvane
