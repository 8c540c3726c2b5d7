#include "base/Error.h"
#include "report/model/DatasetList.h"

#include <gtest/gtest.h>

#include <memory>

namespace velkaro::report {
namespace {

TEST(UserDataset, RefusesEmptyAndBlankUserNames) {
    UserDataset dataset("qry0");
    EXPECT_EQ(dataset.userName(), "qry0");
    for (const char* bad : {"", " ", "\t\r\n", " \x01 "}) {
        try {
            dataset.setUserName(bad);
            ADD_FAILURE() << "accepted [" << bad << "]";
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), "Valor no válido");
        }
        EXPECT_EQ(dataset.userName(), "qry0");
    }
    dataset.setUserName(" clientes ");
    EXPECT_EQ(dataset.userName(), " clientes ");
}

TEST(UserDataset, RaisesItsHandlersAndUsesWhatTheyLeave) {
    UserDataset dataset("qry0");
    EXPECT_TRUE(dataset.endOfData()); // no handler: no data
    EXPECT_TRUE(dataset.value("x").isNull());

    int row = 7;
    std::vector<std::string> asked;
    bool incomingEof = true;
    dataset.onFirst = [&](UserDataset&) { row = 0; };
    dataset.onNext = [&](UserDataset&) { ++row; };
    dataset.onPrior = [&](UserDataset&) { --row; };
    dataset.onCheckEndOfData = [&](UserDataset&, bool& eof) {
        incomingEof = eof;
        eof = row >= 2;
    };
    dataset.onGetValue = [&](UserDataset& self, std::string_view field, Variant& value) {
        EXPECT_EQ(&self, &dataset);
        EXPECT_TRUE(value.isNull());
        asked.emplace_back(field);
        if (field == "n")
            value = Variant(int64_t(row));
    };
    dataset.fields() = {"n", "other"};

    std::vector<int64_t> seen;
    for (dataset.first(); !dataset.endOfData(); dataset.next())
        seen.push_back(dataset.value("n").asInteger());
    EXPECT_FALSE(incomingEof);
    EXPECT_EQ(seen, (std::vector<int64_t>{0, 1}));
    dataset.prior();
    EXPECT_EQ(row, 1);
    EXPECT_TRUE(dataset.value("other").isNull());
    EXPECT_EQ(asked.back(), "other");
    EXPECT_EQ(dataset.fieldNames(), (std::vector<std::string>{"n", "other"}));
}

TEST(DatasetList, LooksUpByUserNameFoldingOnlyAToZFirstMatch) {
    UserDataset upper("a");
    upper.setUserName("Clientes");
    UserDataset lower("b");
    lower.setUserName("CLIENTES");
    UserDataset accented("c");
    accented.setUserName("Países");
    DatasetList list;
    list.add(upper);
    list.add(lower);
    list.add(accented);
    EXPECT_EQ(list.find("clientes"), &upper);
    EXPECT_EQ(list.find("PAÍSES"), nullptr); // Í is not folded
    EXPECT_EQ(list.find("paíSES"), &accented);
    EXPECT_EQ(list.find("nada"), nullptr);
}

TEST(DatasetList, DestroyedDatasetsLeaveEveryListAndCopies) {
    ApplicationDatasets application;
    DatasetList used;
    auto dataset = std::make_unique<UserDataset>("qry0", &application);
    used.add(*dataset);
    DatasetList copy = used;
    DatasetList moved = std::move(copy);
    EXPECT_TRUE(application.contains(*dataset));
    EXPECT_EQ(moved.find("qry0"), dataset.get());
    dataset.reset();
    EXPECT_TRUE(application.empty());
    EXPECT_TRUE(used.empty());
    EXPECT_TRUE(moved.empty());
}

TEST(DatasetList, ListsGoingFirstLeaveNoTraceInTheDataset) {
    UserDataset dataset("qry0");
    {
        DatasetList list;
        list.add(dataset);
        list.add(dataset);
        list.remove(dataset);
        EXPECT_TRUE(list.empty());
        list.add(dataset);
    }
    // The list is gone; destroying the dataset afterwards must not touch it (checked by ASan runs).
    DatasetList other;
    other.add(dataset);
    other.clear();
    EXPECT_FALSE(other.contains(dataset));
}

TEST(DatasetList, UnboundEntriesBindByComponentNameThenUserName) {
    UserDataset byComponent("frxClientes");
    byComponent.setUserName("Clientes");
    UserDataset byUser("other");
    byUser.setUserName("Ventas");
    DatasetList available;
    available.add(byComponent);
    available.add(byUser);
    DatasetList used;
    used.add(DatasetEntry{nullptr, "FRXCLIENTES", "Whatever", {}});
    used.add(DatasetEntry{nullptr, "", "ventas", {}});
    used.add(DatasetEntry{nullptr, "missing", "Missing", {}});
    used.bindFrom(available);
    EXPECT_EQ(used[0].dataset, &byComponent);
    EXPECT_EQ(used[0].userName(), "Clientes");
    EXPECT_EQ(used[1].dataset, &byUser);
    EXPECT_EQ(used[2].dataset, nullptr);
    EXPECT_EQ(used[2].userName(), "Missing");
}

} // namespace
} // namespace velkaro::report
