#include "support/collection.h"
#include "support/sorted_view.h"

#include <gtest/gtest.h>

TEST(TypeRegistry, FindsTypesWithoutRegardToCaseAndCountsUses)
{
    TypeRegistry& registry = TypeRegistry::Instance();
    const ValueType* text = registry.Acquire("STR");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->code, 'S');
    EXPECT_EQ(text->name, "str");
    EXPECT_EQ(registry.Acquire("nosuchtype"), nullptr);
    EXPECT_FALSE(registry.Register("Str", 'S'));
    EXPECT_FALSE(registry.Register("other", '?'));
    EXPECT_TRUE(registry.Register("Name", 'S'));
    const ValueType* named = registry.Acquire("NAME");
    ASSERT_NE(named, nullptr);
    EXPECT_LT(named->compare("a", "B"), 0);
    EXPECT_EQ(registry.UseCount("name"), 1);
    registry.Release(named);
    EXPECT_EQ(registry.UseCount("name"), 0);

    const int before = registry.UseCount("str");
    {
        std::shared_ptr<Collection> first = Collection::Create("Str");
        std::shared_ptr<Collection> shared = first;
        EXPECT_EQ(registry.UseCount("str"), before + 1);
        first.reset();
        EXPECT_EQ(registry.UseCount("str"), before + 1);
    }
    EXPECT_EQ(registry.UseCount("str"), before);
    registry.Release(text);
    EXPECT_EQ(registry.UseCount("str"), before - 1);
    EXPECT_EQ(Collection::Create("nosuchtype"), nullptr);
}

TEST(SortedView, PermutationAndItsInverse)
{
    std::shared_ptr<Collection> texts = Collection::Create("str");
    for (const char* text : {"delta", "Alpha", "charlie", "alpha", "Bravo"})
        texts->Append(text);
    SortedView view(texts);
    ASSERT_EQ(view.Size(), 5u);
    const std::size_t expected[] = {1, 3, 4, 2, 0};
    for (std::size_t i = 0; i < view.Size(); ++i) {
        EXPECT_EQ(view.SourcePosition(i), expected[i]);
        EXPECT_EQ(view.ViewPosition(view.SourcePosition(i)), i);
    }
}
