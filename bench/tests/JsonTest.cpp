#include "Json.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Skyhog::Bench;

TEST(Json, WritesMembersInOrderCompactly)
{
    JsonObject inner;
    inner.add("a", 1.5, 2);
    JsonObject outer;
    outer.add("frames", 300).add("name", std::string("x")).add("inner", inner).add("ratio", 2.0, 1);
    EXPECT_EQ(outer.str(0), R"({"frames":300,"name":"x","inner":{"a":1.50},"ratio":2.0})");
}

TEST(Json, IndentsNestedObjects)
{
    JsonObject inner;
    inner.add("a", 1);
    JsonObject outer;
    outer.add("inner", inner).add("b", 2);
    EXPECT_EQ(outer.str(2), "{\n  \"inner\": {\n    \"a\": 1\n  },\n  \"b\": 2\n}");
}

TEST(Json, NonFiniteNumbersBecomeNull)
{
    JsonObject object;
    object.add("nan", std::numeric_limits<double>::quiet_NaN()).add("inf", std::numeric_limits<double>::infinity());
    EXPECT_EQ(object.str(0), R"({"nan":null,"inf":null})");
}

TEST(Json, WritesArraysOfNumbersEmptyOrNot)
{
    JsonObject object;
    object.add("laps", std::vector<double>{1.25, std::numeric_limits<double>::infinity(), -2.0}, 1)
        .add("none", std::vector<double>{});
    EXPECT_EQ(object.str(0), R"({"laps":[1.2, null, -2.0],"none":[]})");
}

TEST(Json, EscapesStrings)
{
    EXPECT_EQ(jsonString("a\"b\\c\nd\x01"), R"("a\"b\\c\nd\u0001")");
    EXPECT_EQ(JsonObject().str(), "{}");
}
