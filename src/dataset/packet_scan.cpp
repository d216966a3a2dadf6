// Reading a packet in the plain form straight from its bytes, whole or as its text arrives. A
// reply of tens of thousands of rows would otherwise be copied whole and turned into a
// document tree larger than the rows themselves before the first value is read. Only
// elements, attributes, whitespace and a leading XML declaration are taken; comments, CDATA,
// processing instructions, text, raw control characters or "<" in values, unusual names and
// every fault make the scan give up, and the packet is then read through the XML parser,
// which decides what the text means.
#include <array>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "dataset/packet_reading.h"
#include "dataset/packet_table_builder.h"
#include "text/errors.h"

namespace qor::ds::packet {

namespace {

// The names of the two elements that stay open from one piece of text to the next.
constexpr std::string_view kRootName = "DATAPACKET";
constexpr std::string_view kRowDataName = "ROWDATA";

enum CharClass : unsigned char {
    NameStart = 1,
    NameChar = 2,
    Space = 4,
    ValueStop = 8,  // ends the plain run of a value: quotes, "&", "<" and control characters
};

constexpr std::array<unsigned char, 256> charClasses = [] {
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 0x20; ++c) t[c] |= ValueStop;
    for (int c = 'A'; c <= 'Z'; ++c) t[c] |= NameStart | NameChar;
    for (int c = 'a'; c <= 'z'; ++c) t[c] |= NameStart | NameChar;
    for (int c = '0'; c <= '9'; ++c) t[c] |= NameChar;
    t['_'] |= NameStart | NameChar;
    t['-'] |= NameChar;
    t['.'] |= NameChar;
    for (char c : {' ', '\t', '\n', '\r'}) t[static_cast<unsigned char>(c)] |= Space;
    for (char c : {'"', '\'', '&', '<'}) t[static_cast<unsigned char>(c)] |= ValueStop;
    return t;
}();

inline bool is(char c, unsigned char classes) {
    return (charClasses[static_cast<unsigned char>(c)] & classes) != 0;
}

// What an element is to the packet; everything outside the first METADATA's first FIELDS
// and PARAMS and the first ROWDATA's rows is only checked for form.
enum class Place { Root, Metadata, Fields, Field, Params, RowData, Row, Other };

}  // namespace

// Every step below returns false when the text leaves the plain form or breaks off where it
// must not; faults in the packet's fields and values throw from the builder.
class Scanner {
public:
    // The text read next; the place in the packet is where the text before it left off.
    void readFrom(std::string_view bytes) {
        p_ = bytes.data();
        end_ = bytes.data() + bytes.size();
    }

    // A whole packet.
    bool scan() { return scanRootStart() && scanToEnd(); }

    // The declaration, if any, and the root's start tag.
    bool scanRootStart() {
        if (!skipDeclaration()) return false;
        skipSpace();
        if (p_ == end_ || *p_ != '<') return false;
        ++p_;
        return startElement();
    }

    // Elements and whitespace up to the end of the text, which may leave elements open; the
    // `kept` elements open before it stay open.
    bool scanElements(std::size_t kept) {
        while (true) {
            skipSpace();
            if (p_ == end_) return true;
            if (!scanTag(kept)) return false;
        }
    }

    // The rest of the packet: elements until the root closes, then only whitespace.
    bool scanToEnd() {
        while (!open_.empty()) {
            skipSpace();
            if (!scanTag(0)) return false;
        }
        skipSpace();
        return p_ == end_ && fieldsRead_;
    }

    std::size_t openElements() const { return open_.size(); }
    // Inside the root's first ROWDATA, the fields read.
    bool inRowData() const {
        return open_.size() == 2 && open_.back().second == Place::RowData && fieldsRead_;
    }

    Table take() { return builder_.take(); }

private:
    // A start or end tag, at its "<"; an end tag may not close one of the `kept` elements
    // opened first.
    bool scanTag(std::size_t kept) {
        if (end_ - p_ < 2 || *p_ != '<') return false;
        ++p_;
        if (*p_ != '/') return startElement();
        ++p_;
        return open_.size() > kept && endElement();
    }

    void skipSpace() {
        while (p_ != end_ && is(*p_, Space)) ++p_;
    }

    bool readName(std::string_view& name) {
        if (p_ == end_ || !is(*p_, NameStart)) return false;
        const char* start = p_++;
        while (p_ != end_ && is(*p_, NameChar)) ++p_;
        name = std::string_view(start, static_cast<std::size_t>(p_ - start));
        return true;
    }

    // name, "=", quoted value; at the name. Notes whether the value holds a reference.
    bool readAttribute(Attribute& a, bool& hasReference) {
        if (!readName(a.name)) return false;
        skipSpace();
        if (p_ == end_ || *p_ != '=') return false;
        ++p_;
        skipSpace();
        if (p_ == end_ || (*p_ != '"' && *p_ != '\'')) return false;
        const char quote = *p_++;
        const char* start = p_;
        hasReference = false;
        while (true) {
            while (p_ != end_ && !is(*p_, ValueStop)) ++p_;
            if (p_ == end_) return false;
            const char c = *p_;
            if (c == quote) break;
            if (c == '&') hasReference = true;
            else if (c != '"' && c != '\'') return false;
            ++p_;  // "&" and the other quote stand for themselves
        }
        a.value = std::string_view(start, static_cast<std::size_t>(p_ - start));
        ++p_;
        return true;
    }

    // "<?xml" and pseudo-attributes up to "?>", only at the very start.
    bool skipDeclaration() {
        constexpr std::string_view opening = "<?xml";
        if (static_cast<std::size_t>(end_ - p_) <= opening.size() ||
            std::string_view(p_, opening.size()) != opening || !is(p_[opening.size()], Space))
            return true;  // none; any other "<?" ends the scan at the root
        p_ += opening.size();
        while (true) {
            skipSpace();
            if (p_ == end_) return false;
            if (*p_ == '?') {
                if (end_ - p_ < 2 || p_[1] != '>') return false;
                p_ += 2;
                return true;
            }
            Attribute a;
            bool hasReference;
            if (!readAttribute(a, hasReference)) return false;
            if (a.value.find_first_of("?>") != std::string_view::npos) return false;
            if (p_ != end_ && !is(*p_, Space) && *p_ != '?') return false;
        }
    }

    Place placeOfChild(std::string_view name) {
        if (open_.empty()) return Place::Root;
        switch (open_.back().second) {
        case Place::Root:
            if (name == "METADATA" && !metadataSeen_) {
                metadataSeen_ = true;
                return Place::Metadata;
            }
            if (name == "ROWDATA" && !rowDataSeen_) {
                rowDataSeen_ = true;
                return Place::RowData;
            }
            return Place::Other;
        case Place::Metadata:
            if (name == "FIELDS" && !fieldsSeen_) {
                fieldsSeen_ = true;
                return Place::Fields;
            }
            if (name == "PARAMS" && !paramsSeen_) {
                paramsSeen_ = true;
                return Place::Params;
            }
            return Place::Other;
        case Place::Fields: return name == "FIELD" ? Place::Field : Place::Other;
        case Place::RowData: return name == "ROW" ? Place::Row : Place::Other;
        default: return Place::Other;
        }
    }

    // After "<".
    bool startElement() {
        std::string_view name;
        if (!readName(name)) return false;
        const Place place = placeOfChild(name);
        if (place == Place::Root && name != "DATAPACKET") return false;
        if (place == Place::Row) {
            if (!fieldsRead_) return false;  // rows before the fields: left to the parser
            builder_.startRow();
        }
        attributes_.clear();
        while (true) {
            if (p_ == end_) return false;
            if (*p_ == '>') {
                ++p_;
                open(place, name);
                return true;
            }
            if (*p_ == '/') {
                if (end_ - p_ < 2 || p_[1] != '>') return false;
                p_ += 2;
                open(place, name);
                close();
                return true;
            }
            if (!is(*p_, Space)) return false;
            skipSpace();
            if (p_ != end_ && (*p_ == '>' || *p_ == '/')) continue;
            Attribute a;
            bool hasReference;
            if (!readAttribute(a, hasReference)) return false;
            if (place == Place::Row) builder_.setValue(a.name, a.value, hasReference);
            else if (place == Place::Field || place == Place::Params) attributes_.push_back(a);
        }
    }

    // After "</".
    bool endElement() {
        std::string_view name;
        if (!readName(name) || name != open_.back().first) return false;
        if (p_ == end_ || *p_ != '>') return false;
        ++p_;
        close();
        return true;
    }

    void open(Place place, std::string_view name) {
        if (place == Place::Field) builder_.addField(attributes_);
        else if (place == Place::Params) builder_.readParams(attributes_);
        // The root and the rows' element may stay open after their text is gone.
        if (place == Place::Root) name = kRootName;
        else if (place == Place::RowData) name = kRowDataName;
        open_.emplace_back(name, place);
    }

    void close() {
        if (open_.back().second == Place::Fields) fieldsRead_ = true;
        open_.pop_back();
    }

    const char* p_ = nullptr;
    const char* end_ = nullptr;
    TableBuilder builder_;
    std::vector<std::pair<std::string_view, Place>> open_;  // elements not yet closed
    std::vector<Attribute> attributes_;                       // of a FIELD or PARAMS
    bool metadataSeen_ = false;
    bool fieldsSeen_ = false;
    bool fieldsRead_ = false;
    bool paramsSeen_ = false;
    bool rowDataSeen_ = false;
};

namespace {

// A step of a scan, false when the step gives up or finds a fault: the parser reads the
// packet again and words the fault.
template <typename Step>
bool scanned(Step step) {
    try {
        return step();
    } catch (const Error&) {
        return false;
    }
}

}  // namespace

bool scanPacket(std::string_view bytes, Table& out) {
    Scanner scanner;
    scanner.readFrom(bytes);
    if (!scanned([&] { return scanner.scan(); })) return false;
    out = scanner.take();
    return true;
}

PacketScanInPieces::PacketScanInPieces() : scanner_(std::make_unique<Scanner>()) {}

PacketScanInPieces::~PacketScanInPieces() = default;

bool PacketScanInPieces::readHead(std::string_view head) {
    scanner_->readFrom(head);
    return scanned([&] {
        return scanner_->scanRootStart() && scanner_->scanElements(1) && scanner_->inRowData();
    });
}

bool PacketScanInPieces::readPiece(std::string_view piece) {
    scanner_->readFrom(piece);
    return scanned([&] { return scanner_->scanElements(2) && scanner_->openElements() == 2; });
}

bool PacketScanInPieces::finish(std::string_view rest, Table& out) {
    scanner_->readFrom(rest);
    if (!scanned([&] { return scanner_->scanToEnd(); })) return false;
    out = scanner_->take();
    return true;
}

}  // namespace qor::ds::packet
