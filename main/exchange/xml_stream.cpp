#include "main/exchange/xml_stream.h"

#include <expat.h>

#include <cstring>

namespace scorvane {
namespace {

struct Session {
    XML_Parser parser;
    XmlEvents& events;
    bool refused = false;
    bool finished = false;

    // Stops the parse: as done when the events have what they came for, else as refused.
    void stop() {
        if (events.finished && !refused) {
            finished = true;
        } else {
            refused = true;
        }
        XML_StopParser(parser, XML_FALSE);
    }
    bool stopped() const { return refused || finished; }
};

void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto* s = static_cast<Session*>(data);
    if (!s->stopped() && !s->events.start(name, attributes)) {
        s->stop();
    }
}

void XMLCALL onEnd(void* data, const XML_Char* name) {
    auto* s = static_cast<Session*>(data);
    if (!s->stopped() && !s->events.end(name)) {
        s->stop();
    }
}

void XMLCALL onText(void* data, const XML_Char* text, int length) {
    auto* s = static_cast<Session*>(data);
    if (!s->stopped() && !s->events.text(std::string_view(text, static_cast<size_t>(length)))) {
        s->stop();
    }
}

void XMLCALL onDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    auto* s = static_cast<Session*>(data);
    s->refused = true;
    XML_StopParser(s->parser, XML_FALSE);
}

void XMLCALL onEntity(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*, const XML_Char*,
                      const XML_Char*, const XML_Char*) {
    onDoctype(data, nullptr, nullptr, nullptr, 0);
}

class Parser {
  public:
    Parser(XmlEvents& events, bool namespaces)
        : session_{namespaces ? XML_ParserCreateNS("UTF-8", '|') : XML_ParserCreate("UTF-8"), events} {
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
        const XML_Status status =
            XML_Parse(session_.parser, bytes.data(), static_cast<int>(bytes.size()), last ? XML_TRUE : XML_FALSE);
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

bool ParseXmlBytes(std::string_view bytes, XmlEvents& events, bool namespaces) {
    Parser parser(events, namespaces);
    return parser.feed(bytes, true) || parser.finished();
}

}  // namespace scorvane
