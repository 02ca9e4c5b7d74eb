// The text table of both languages against the ids of resources/resource.h.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "fakes/ResourceTexts.h"

namespace {

std::set<std::string> namesOf(const std::map<std::string, std::string>& table) {
    std::set<std::string> names;
    for (const auto& entry : table) names.insert(entry.first);
    return names;
}

TEST(TextTable, EveryTextIdHasATextInBothLanguagesAndNoTextLacksAnId) {
    std::set<std::string> ids;
    for (const auto& id : rc::resourceIds("IDS_")) ids.insert(id.first);
    ASSERT_FALSE(ids.empty());
    auto tables = rc::stringTables();
    EXPECT_EQ(namesOf(tables[rc::Language::English]), ids);
    EXPECT_EQ(namesOf(tables[rc::Language::Chinese]), ids);
    for (const auto& [language, table] : tables)
        for (const auto& [name, text] : table) EXPECT_FALSE(text.empty()) << name;
}

TEST(TextTable, IdsAreDistinct) {
    std::set<int> numbers;
    for (const auto& [name, id] : rc::resourceIds("IDS_")) EXPECT_TRUE(numbers.insert(id).second) << name;
}

TEST(TextTable, ProgramsCarryTheirModelNameAndVersion) {
    rc::ProgramTexts korvel("Korvel");
    EXPECT_EQ(korvel.text(kTextIdleTitle),
              std::string("Korvel Total Station Communication Software Ver ") + RUVO_PROJECT_VERSION + " ");
    EXPECT_EQ(korvel.text(kTextWaitSync), "Wait SyncData");
    EXPECT_EQ(rc::ProgramTexts("Tassin", rc::Language::Chinese).text(kTextHeaderName), "点号");
}

}  // namespace
