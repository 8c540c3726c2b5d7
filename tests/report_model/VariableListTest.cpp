#include "report/model/VariableList.h"

#include <gtest/gtest.h>

namespace velkaro::report {
namespace {

// The list as "name=value" lines; Null shown as "~".
std::string dump(const VariableList& list) {
    std::string out;
    for (const Variable& v : list) {
        out += v.name + "=" + (v.value.isNull() ? "~" : variableValueText(v.value)) + ";";
    }
    return out;
}

struct Operation {
    enum Kind { Set, Add, Clear } kind;
    std::string category;
    std::string name;
    Variant value;
};

struct Case {
    const char* label;
    std::vector<Operation> operations;
    std::string expected;
};

TEST(VariableList, OperationsTable) {
    using Op = Operation;
    const Variant null;
    const Case cases[] = {
        {"set appends, then replaces ignoring a-z case",
         {{Op::Set, "", "Cliente", "'1'"}, {Op::Set, "", "CLIENTE", "'2'"}},
         "Cliente='2';"},
        {"case folding is only a-z",
         {{Op::Set, "", "año", "1"}, {Op::Set, "", "AÑO", "2"}, {Op::Set, "", "AñO", "3"}},
         "año=3;AÑO=2;"},
        {"add without the category's marker does nothing", {{Op::Add, "Recibidas", "x", "'1'"}}, ""},
        {"add goes to the end of its category, before the next marker",
         {{Op::Set, "", " Recibidas", null},
          {Op::Set, "", " Internas", null},
          {Op::Add, "Recibidas", "a", "'1'"},
          {Op::Add, "recibidas", "b", "'2'"},
          {Op::Add, "Internas", "c", "'3'"}},
         " Recibidas=~;a='1';b='2'; Internas=~;c='3';"},
        {"the same name in two categories replaces where it stands",
         {{Op::Set, "", " Recibidas", null},
          {Op::Add, "Recibidas", "cliente", "'3'"},
          {Op::Set, "", " Internas", null},
          {Op::Add, "Internas", "Cliente", "'9'"}},
         " Recibidas=~;cliente='9'; Internas=~;"},
        {"names differing in case keep the first name and the last value",
         {{Op::Set, "", " Recibidas", null},
          {Op::Add, "Recibidas", "Total", "'1'"},
          {Op::Add, "Recibidas", "TOTAL", "'2'"}},
         " Recibidas=~;Total='2';"},
        {"the empty name is an ordinary variable at the end of its category",
         {{Op::Set, "", " Internas", null},
          {Op::Add, "Internas", "", "'e'"},
          {Op::Add, "Internas", "z", "'z'"}},
         " Internas=~;='e';z='z';"},
        {"the empty category is the marker of one blank",
         {{Op::Set, "", " ", null}, {Op::Add, "", "v", "1"}},
         " =~;v=1;"},
        {"a blank name with a value is no marker",
         {{Op::Set, "", " A", null}, {Op::Set, "", " B", "'x'"}, {Op::Add, "A", "v", "1"}},
         " A=~; B='x';v=1;"},
        {"clear empties", {{Op::Set, "", "a", "1"}, {Op::Clear, "", "", null}}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        VariableList list;
        for (const Operation& op : c.operations) {
            switch (op.kind) {
            case Op::Set:
                list.set(op.name, op.value);
                break;
            case Op::Add:
                list.addToCategory(op.category, op.name, op.value);
                break;
            case Op::Clear:
                list.clear();
                break;
            }
        }
        EXPECT_EQ(dump(list), c.expected);
    }
}

TEST(VariableList, LookupAndMarkers) {
    VariableList list;
    list.set(" Cat", Variant());
    list.set("Name", Variant(int64_t(5)));
    EXPECT_TRUE(VariableList::isCategoryMarker(list[0]));
    EXPECT_FALSE(VariableList::isCategoryMarker(list[1]));
    ASSERT_NE(list.find("nAmE"), nullptr);
    EXPECT_EQ(list.find("nAmE")->asInteger(), 5);
    EXPECT_EQ(list.find("missing"), nullptr);
    EXPECT_EQ(list.indexOf(" cat"), 0u);
}

TEST(VariableList, ValuesAsTemplatesStoreThem) {
    EXPECT_EQ(variableValueText(Variant(true)), "True");
    EXPECT_EQ(variableValueText(Variant(int64_t(-12))), "-12");
    EXPECT_EQ(variableValueText(Variant(2.5)), "2.5");
    EXPECT_EQ(variableValueText(Variant(Currency{-12345})), "-1.2345");
    EXPECT_EQ(variableValueText(Variant(Currency{20000})), "2");
    EXPECT_EQ(variableValueText(Variant("'abc'")), "'abc'");
}

} // namespace
} // namespace velkaro::report
