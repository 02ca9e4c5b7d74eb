#include "files/DxfLayers.h"

#include "files/Utf8.h"

namespace {

// The characters a layer's name cannot hold besides the control characters.
constexpr std::string_view kNotInNames = "<>/\\\":;?*|,=`";

char32_t decode(std::string_view sequence) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(sequence.data());
    switch (sequence.size()) {
        case 1: return bytes[0];
        case 2: return (char32_t(bytes[0] & 0x1F) << 6) | (bytes[1] & 0x3F);
        case 3: return (char32_t(bytes[0] & 0x0F) << 12) | (char32_t(bytes[1] & 0x3F) << 6) | (bytes[2] & 0x3F);
        default:
            return (char32_t(bytes[0] & 0x07) << 18) | (char32_t(bytes[1] & 0x3F) << 12) |
                   (char32_t(bytes[2] & 0x3F) << 6) | (bytes[3] & 0x3F);
    }
}

void appendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool allowedInName(char32_t c) {
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return false;  // C0, DEL and C1 controls
    return c >= 0x80 || kNotInNames.find(static_cast<char>(c)) == std::string_view::npos;
}

// The lower-case letter of c in the ranges foldLayerName covers; c itself
// for any other character.
char32_t folded(char32_t c) {
    if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 0x20 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    if (c >= 0x100 && c <= 0x17F) {
        switch (c) {
            case 0x131: return 'i';   // dotless i, whose capital is I
            case 0x178: return 0xFF;  // Y with diaeresis
            case 0x17F: return 's';   // long s, whose capital is S
            case 0x138:               // kra and 'n preceded by apostrophe have no capital
            case 0x149: return c;
            default: break;
        }
        // Capital then small letter, in pairs that start on an even number,
        // but on an odd one from L with acute to n with caron and from Z
        // with acute to z with caron.
        const bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        const bool capital = oddCapitals ? (c & 1) != 0 : (c & 1) == 0;
        return capital ? c + 1 : c;
    }
    switch (c) {
        case 0xB5: return 0x3BC;    // micro sign, whose capital is Greek Mu
        case 0x386: return 0x3AC;   // Greek capitals with tonos
        case 0x38C: return 0x3CC;
        case 0x3C2: return 0x3C3;   // final sigma
        case 0x212A: return 'k';    // Kelvin sign
        case 0x212B: return 0xE5;   // Angstrom sign
        default: break;
    }
    if (c >= 0x388 && c <= 0x38A) return c + 37;
    if (c == 0x38E || c == 0x38F) return c + 63;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    return c;
}

// Calls each(c, sequence) for the characters of utf8; a byte that starts
// no valid sequence comes as a sequence of its own, with c 0xFFFFFFFF.
template <typename Each>
void forEachCharacter(std::string_view utf8, Each each) {
    while (!utf8.empty()) {
        const std::size_t length = utf8SequenceLength(utf8);
        const std::string_view sequence = utf8.substr(0, length == 0 ? 1 : length);
        each(length == 0 ? char32_t(0xFFFFFFFF) : decode(sequence), sequence);
        utf8.remove_prefix(sequence.size());
    }
}

}  // namespace

bool isLayerName(std::string_view utf8) {
    if (utf8.empty() || utf8.front() == ' ' || utf8.back() == ' ') return false;
    bool valid = true;
    forEachCharacter(utf8, [&](char32_t c, std::string_view) { valid = valid && c != 0xFFFFFFFF && allowedInName(c); });
    return valid;
}

std::string layerNameFrom(std::string_view utf8) {
    std::string name;
    forEachCharacter(utf8, [&](char32_t c, std::string_view sequence) {
        if (c != 0xFFFFFFFF && allowedInName(c))
            name += sequence;
        else
            name += '_';
    });
    if (!name.empty() && name.front() == ' ') name.front() = '_';
    if (!name.empty() && name.back() == ' ') name.back() = '_';
    return name;
}

std::string foldLayerName(std::string_view utf8) {
    std::string fold;
    forEachCharacter(utf8, [&](char32_t c, std::string_view sequence) {
        if (c == 0xFFFFFFFF) {
            fold += sequence;
        } else if (c == 0x130) {  // I with dot above: i and a combining dot, as lower() has it
            fold += 'i';
            appendUtf8(0x307, fold);
        } else {
            appendUtf8(folded(c), fold);
        }
    });
    return fold;
}

DxfLayers::DxfLayers(const TextEncoding* encoding) : encoding_(encoding) {
    layers_.push_back({"0", ""});
    byMark_.emplace("", 0);
    taken_.insert("0");
    taken_.insert("defpoints");
}

std::uint32_t DxfLayers::layerOf(const char* mark, std::size_t max) {
    std::size_t length = 0;
    while (length < max && mark[length] != '\0') ++length;
    const std::string_view bytes(mark, length);
    if (bytes == lastMark_) return lastLayer_;
    lastMark_.assign(bytes);
    const auto found = byMark_.find(lastMark_);
    lastLayer_ = found != byMark_.end() ? found->second : add(bytes);
    return lastLayer_;
}

std::uint32_t DxfLayers::add(std::string_view mark) {
    const std::string_view utf8 = utf8Of(mark.data(), mark.size(), encoding_, buffer_);
    std::string name(utf8);
    std::string fold = foldLayerName(name);
    if (!isLayerName(name) || taken_.count(fold) > 0) {
        name = layerNameFrom(utf8);
        fold = foldLayerName(name);
        if (taken_.count(fold) > 0) {
            unsigned& next = nextSuffix_[fold];
            if (next < 2) next = 2;
            std::string suffix;
            do suffix = "~" + std::to_string(next++);
            while (taken_.count(fold + suffix) > 0);
            name += suffix;
            fold += suffix;
        }
    }
    taken_.insert(std::move(fold));
    const auto index = static_cast<std::uint32_t>(layers_.size());
    layers_.push_back({std::move(name), std::string(utf8)});
    byMark_.emplace(std::string(mark), index);
    return index;
}
