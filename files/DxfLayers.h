// The layers of a drawing of points: one for each distinct mark, named as
// the mark itself wherever a drawing allows, otherwise by a name that no
// other mark's layer has.
//
// Names are those of DXF R2007 and later, UTF-8: any character but
// < > / \ " : ; ? * | , = ` and the control characters, with no space at
// either end, up to 255 characters (a mark has at most 13 bytes, so that
// limit is never reached). Drawings compare layer names without regard to
// case: TREE, Tree and tree are one layer to CAD, and ezdxf compares them
// lowercased. So a mark keeps its own name only when it is a valid name
// and its folded form (foldLayerName) is not yet taken; otherwise it gets a
// derived name: each character that a name cannot hold replaced by '_', a
// space at either end too, then, while that folded form is taken, a suffix
// "~2", "~3"... The tilde has no meaning in CAD's names (unlike '|' and
// "$0$", which mark layers bound from external references) and never comes
// from the replacement, so TREE~2 reads as "another TREE".
//
// The empty mark is layer "0", which every drawing has; the names "0" and
// "Defpoints" (CAD's layer that is never plotted) are taken from the start,
// so a mark "0" or "DEFPOINTS" gets a derived name and never shares those
// layers. A layer keeps the mark it stands for, for the layer's
// description where its name is not the mark.
//
// Layers are numbered in the order their marks first came, from 0. Memory
// grows with the number of distinct marks only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class TextEncoding;

struct DxfLayer {
    std::string name;  // UTF-8, as the LAYER table and the entities name it
    std::string mark;  // the mark in UTF-8
    // True when the name is not the mark (the empty mark's layer "0" aside).
    bool derived() const { return !mark.empty() && name != mark; }
};

class DxfLayers {
public:
    // encoding: the code page of the marks; nullptr when they are UTF-8.
    explicit DxfLayers(const TextEncoding* encoding = nullptr);

    // The number of the layer for a mark (at most max bytes, ended by a
    // NUL before that): the one the same bytes got before, else a new one.
    std::uint32_t layerOf(const char* mark, std::size_t max);

    std::size_t size() const { return layers_.size(); }
    const DxfLayer& operator[](std::size_t index) const { return layers_[index]; }

private:
    std::uint32_t add(std::string_view mark);

    const TextEncoding* encoding_;
    std::vector<DxfLayer> layers_;
    std::unordered_map<std::string, std::uint32_t> byMark_;  // the mark's bytes
    std::unordered_set<std::string> taken_;                  // folded names given
    std::unordered_map<std::string, unsigned> nextSuffix_;   // per folded derived name
    std::string lastMark_;  // the mark of the point before, which the next one often shares
    std::uint32_t lastLayer_ = 0;
    std::string buffer_;
};

// True when utf8 may be a layer's name as it is.
bool isLayerName(std::string_view utf8);

// utf8 with each character a name cannot hold, and a space at either end,
// replaced by '_' (also any byte that is no valid UTF-8).
std::string layerNameFrom(std::string_view utf8);

// The form in which two names are one layer to a reader that ignores case:
// letters of ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic in lower
// case, with the few letters whose case pairs cross those ranges (µ and μ,
// ı and i, ſ and s, final ς and σ, the Kelvin and Angstrom signs) folded
// together. Letters of other scripts are left as they are, so marks that
// differ only in the case of such letters (Armenian, Georgian, Latin
// Extended-B, full-width Latin) keep names that a reader folding those too
// would take for one.
std::string foldLayerName(std::string_view utf8);
