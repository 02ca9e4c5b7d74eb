// The layers of a DXF drawing: a mark's own name where it may be one and no
// earlier layer's name is the same but for case, else a derived name that
// no other layer has; the case folding that decides "the same".
#include "files/DxfLayers.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "files/TextEncoding.h"

namespace {

std::uint32_t layerOf(DxfLayers& layers, const std::string& mark) { return layers.layerOf(mark.c_str(), mark.size()); }

// Marks in the order they come, and the names they get.
TEST(DxfLayers, NamesMarksInTheOrderTheyCome) {
    struct Case {
        const char* mark;
        const char* name;
    } cases[] = {
        {"TREE", "TREE"},
        {"tree", "tree~2"},  // the same layer to CAD, so another name
        {"Tree", "Tree~3"},
        {"TREE~2", "TREE~2~2"},  // a valid name, but tree~2 is taken
        {"TREE.1", "TREE.1"},
        {"TREE 1", "TREE 1"},
        {"tree_1", "tree_1"},
        {"a/b", "a_b"},
        {"a_b", "a_b~2"},
        {"a:b", "a_b~3"},
        {"0", "0~2"},  // the empty mark's layer
        {"Defpoints", "Defpoints~2"},
        {"DEFPOINTS", "DEFPOINTS~3"},
        {" lead", "_lead"},
        {"trail ", "trail_"},
        {" ", "_"},
        {"x\ty", "x_y"},
        {"x\x7fy", "x_y~2"},
        {"x\xc2\x85y", "x_y~3"},  // a C1 control character
        {"<>\"?*|,=`;", "__________"},
        {"\xe6\xa0\x91", "\xe6\xa0\x91"},                        // 树
        {"\xc3\x89T\xc3\x89", "\xc3\x89T\xc3\x89"},              // ÉTÉ
        {"\xc3\xa9t\xc3\xa9", "\xc3\xa9t\xc3\xa9~2"},            // été
        {"\xd0\x94\xd0\x9e\xd0\x9c", "\xd0\x94\xd0\x9e\xd0\x9c"},  // ДОМ
        {"\xd0\xb4\xd0\xbe\xd0\xbc", "\xd0\xb4\xd0\xbe\xd0\xbc~2"},  // дом
        {"\xcf\x83\xce\xbf\xcf\x82", "\xcf\x83\xce\xbf\xcf\x82"},  // σος
        {"\xce\xa3\xce\x9f\xce\xa3", "\xce\xa3\xce\x9f\xce\xa3~2"},  // ΣΟΣ
        {"\xff", "_~2"},  // no UTF-8: every such byte replaced, and " " came first
    };
    DxfLayers layers;
    EXPECT_EQ(layerOf(layers, ""), 0u);
    for (const Case& c : cases) {
        const std::uint32_t index = layerOf(layers, c.mark);
        ASSERT_EQ(index, layers.size() - 1) << c.mark;  // a new layer
        EXPECT_EQ(layers[index].name, c.name) << c.mark;
        EXPECT_EQ(layers[index].mark, c.mark);
        EXPECT_EQ(layers[index].derived(), std::string(c.name) != c.mark);
    }
    EXPECT_EQ(layers[0].name, "0");
    EXPECT_FALSE(layers[0].derived());
    EXPECT_EQ(layers.size(), 1 + sizeof cases / sizeof cases[0]);
    // The same bytes again, in another order: the same layers.
    for (std::size_t i = sizeof cases / sizeof cases[0]; i-- > 0;) EXPECT_EQ(layerOf(layers, cases[i].mark), i + 1);
    EXPECT_EQ(layerOf(layers, ""), 0u);
    EXPECT_EQ(layers.size(), 1 + sizeof cases / sizeof cases[0]);
}

TEST(DxfLayers, ConvertsMarksFromTheirCodePage) {
    const std::unique_ptr<TextEncoding> gbk = openTextEncoding("gbk");
    ASSERT_NE(gbk, nullptr);
    DxfLayers layers(gbk.get());
    EXPECT_EQ(layers[layerOf(layers, "\xca\xf7")].name, "\xe6\xa0\x91");       // 树
    EXPECT_EQ(layers[layerOf(layers, "\xb5\xe7\xcf\xdf")].name, "\xe7\x94\xb5\xe7\xba\xbf");  // 电线
    EXPECT_EQ(layers[layerOf(layers, "A\xa3\xaf")].name, "A\xef\xbc\x8f");  // a full-width '/' is allowed
    EXPECT_EQ(layers.size(), 4u);
}

TEST(DxfLayers, FoldsTheCaseOfLatinGreekAndCyrillicLetters) {
    struct Case {
        const char* name;
        const char* fold;
    } cases[] = {
        {"TREE.1 x_Y", "tree.1 x_y"},
        {"\xc3\x80\xc3\x89\xc3\x9e\xc3\x97\xc3\x9f", "\xc3\xa0\xc3\xa9\xc3\xbe\xc3\x97\xc3\x9f"},  // ÀÉÞ×ß: not × nor ß
        {"\xc4\x80\xc4\x81\xc5\x81\xc5\x82\xc5\xbd\xc5\xb8", "\xc4\x81\xc4\x81\xc5\x82\xc5\x82\xc5\xbe\xc3\xbf"},  // ĀāŁłŽŸ
        {"\xc4\xb8\xc5\x89", "\xc4\xb8\xc5\x89"},                    // ĸŉ have no capital
        {"\xc4\xb1\xc5\xbf", "is"},                                  // ı ſ
        {"\xc4\xb0", "i\xcc\x87"},                                   // İ
        {"\xc2\xb5", "\xce\xbc"},                                    // µ to μ
        {"\xce\x86\xce\x88\xce\x8f\xce\xa3\xcf\x82\xce\xab", "\xce\xac\xce\xad\xcf\x8e\xcf\x83\xcf\x83\xcf\x8b"},  // ΆΈΏΣςΫ
        {"\xd0\x80\xd0\x8f\xd0\x90\xd0\xaf", "\xd1\x90\xd1\x9f\xd0\xb0\xd1\x8f"},  // ЀЏАЯ
        {"\xe2\x84\xaa\xe2\x84\xab", "k\xc3\xa5"},                   // Kelvin, Angstrom
        {"\xe6\xa0\x91\xef\xbc\xa1", "\xe6\xa0\x91\xef\xbc\xa1"},    // 树 and a full-width A stay
    };
    for (const Case& c : cases) EXPECT_EQ(foldLayerName(c.name), c.fold) << c.name;
}

TEST(DxfLayers, NamesAreValidWithoutTheCharactersDrawingsReserve) {
    for (const char* valid : {"0", "TREE.1", "a b", "~", "\xe6\xa0\x91", "-$_()[]{}#@!&'+"})
        EXPECT_TRUE(isLayerName(valid)) << valid;
    for (const char* invalid : {"", " a", "a ", "a/b", "a\\b", "a\"b", "a:b", "a;b", "a?b", "a*b", "a|b", "a,b",
                                "a=b", "a`b", "a<b", "a>b", "a\tb", "a\x7f", "a\xc2\x9f", "\xc3", "\xc0\xaf"})
        EXPECT_FALSE(isLayerName(invalid)) << invalid;
}

// Any set of marks: the names are valid and pairwise different after
// folding, and a mark is its layer's name exactly when it is a valid name
// that no earlier layer has after folding.
TEST(DxfLayers, NamesAreDistinctValidAndTheMarkWheneverTheyMayBe) {
    const char* const pieces[] = {"A", "a", "B", "b", "0", "2", "~", "_", " ", "/", ":", "\t", ".",
                                  "\xc3\x89", "\xc3\xa9", "\xce\xa3", "\xcf\x83", "\xcf\x82", "\xd0\x94",
                                  "\xd0\xb4", "\xe6\xa0\x91", "\xc4\xb1", "I", "i", "\xc2\xb5", "\xce\xbc"};
    std::mt19937 random(20);
    std::uniform_int_distribution<std::size_t> piece(0, sizeof pieces / sizeof pieces[0] - 1);
    std::uniform_int_distribution<int> length(1, 4);
    for (int round = 0; round < 200; ++round) {
        DxfLayers layers;
        std::set<std::string> folds = {"0", "defpoints"};
        for (int i = 0; i < 40; ++i) {
            std::string mark;
            for (int n = length(random); n > 0; --n) mark += pieces[piece(random)];
            const std::size_t before = layers.size();
            const DxfLayer& layer = layers[layerOf(layers, mark)];
            if (layers.size() == before) continue;  // a mark that came before
            EXPECT_TRUE(isLayerName(layer.name)) << layer.name;
            EXPECT_EQ(layer.name.rfind(layerNameFrom(mark), 0), 0u) << mark;
            const bool own = isLayerName(mark) && folds.count(foldLayerName(mark)) == 0;
            EXPECT_EQ(layer.name == mark, own) << mark;
            EXPECT_TRUE(folds.insert(foldLayerName(layer.name)).second) << layer.name;
        }
    }
}

}  // namespace
