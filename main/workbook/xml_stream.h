#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "main/workbook/zip_archive.h"

namespace scorvane {

// Reads a workbook's XML as a stream of events, never as a tree. With namespaces, element and
// attribute names come as "namespace|local" ("urn:oasis:names:tc:opendocument:xmlns:table:1.0|table-cell")
// or the bare local name without a namespace; without, as they stand ("x:row", "row"), which is quicker
// where a format has one namespace that matters. A document type declaration (and with it any entity
// declaration) makes the XML refused: workbooks have none, and entities are how hostile XML grows.
class XmlEvents {
  public:
    virtual ~XmlEvents() = default;
    // `attributes` are name, value pairs ending in a null name. Return false to stop as refused.
    virtual bool start(const char* name, const char** attributes) = 0;
    virtual bool end(const char* name) = 0;
    virtual bool text(std::string_view text) = 0;

    // Set by a reader that has what it came for before the end of the document (the first rows of a
    // sheet): its false then stops the parse as done, the rest of the document unread.
    bool finished = false;

    // Set by a reader in `start` on the element whose children are the rows it reads (a sheet's
    // data): the name of a row element there, as the document writes it. Lets a long document be read
    // on both cores at once (ParseXmlMemberInHalves).
    std::string rowsHere;
};

// A reader of a long run of rows that can read them on the two processor cores at once: `first`
// reads the document from its start, and the rest is cut at rows into pieces, each read by its own
// reader `piece(k)` from a row to the next cut (the last to the end), after the start tags of the
// row's ancestors (its state then is that of a reader at a row whose predecessors it does not know).
// `first` goes on into the pieces the other core has not taken, so it stops at some cut, and the
// pieces after it are joined to it in order. They must come out as the whole read in one piece would.
class XmlHalves {
  public:
    virtual ~XmlHalves() = default;
    virtual XmlEvents& first() = 0;
    // The reader of the k-th piece (from 0, in the document's order), empty when first asked for.
    virtual XmlEvents& piece(size_t k) = 0;
    // Adds what piece k read to what `first` holds; asked for the pieces read apart, in order. False
    // where they cannot tell what one read would have made of them (a limit reached across them, rows
    // that depend on the ones before): the document is then read again in one piece.
    virtual bool join(size_t k) = 0;
    // Empties `first` for that read of the whole.
    virtual void restart() = 0;
};

// The part after the namespace or the prefix.
const char* XmlLocalName(const char* name);
// Whether the part after the namespace or the prefix is `local`.
bool XmlLocalNameIs(const char* name, std::string_view local);
// Whether `name` is `prefix` followed by `local` ("table:" and "table-cell").
bool XmlNameIs(const char* name, std::string_view prefix, std::string_view local);
// The value of the attribute of that full or local name, or null.
const char* XmlAttribute(const char** attributes, std::string_view name);

// Streams one member of the archive through `events`, unpacked straight into the parser's buffer.
// False when the member is missing, is not well-formed XML (in the part read, when `events` finished
// early), declares a document type, or `events` refused.
bool ParseXmlMember(ZipArchive& archive, int64_t member, XmlEvents& events, bool namespaces = true);
// The same for a long member read by `halves`: unpacked whole into memory (`first` reading meanwhile),
// then what is left read on both cores at once where the reader names its rows' parent and rows'
// start tags are found in it to cut it at, else in one piece. The result (what `first`
// holds, and the return value) is that of ParseXmlMember with `first`, namespaces off; where the
// events finish early (a read stopped from elsewhere) it is partial either way.
bool ParseXmlMemberInHalves(ZipArchive& archive, int64_t member, XmlHalves& halves);
// The same over bytes in memory.
bool ParseXmlBytesInHalves(std::string_view bytes, XmlHalves& halves);
// The same over bytes in memory.
bool ParseXmlBytes(std::string_view bytes, XmlEvents& events, bool namespaces = true);

}  // namespace scorvane
