#pragma once

#include "report/model/Variant.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro::report {

class DatasetList;

// A source of rows the engine walks: first(), then while !endOfData(): value(field)..., next().
// A dataset has a component name (how the template's DataSet properties refer to it) and a user
// name (how expressions, bands and the designer name it). It removes itself from every
// DatasetList holding it when destroyed, so lists never keep a dangling dataset.
class Dataset {
public:
    // With applicationDatasets the dataset registers there for its lifetime ("by presence").
    explicit Dataset(std::string componentName = {}, DatasetList* applicationDatasets = nullptr);
    virtual ~Dataset();
    Dataset(const Dataset&) = delete;
    Dataset& operator=(const Dataset&) = delete;

    [[nodiscard]] const std::string& componentName() const { return componentName_; }
    // The user name follows while it is empty or equal to the old component name.
    void setComponentName(std::string name);
    [[nodiscard]] const std::string& userName() const { return userName_; }
    // Throws velkaro::Error("Valor no válido") for an empty name or one made only of blanks and
    // control characters; the name stays as it was.
    void setUserName(std::string name);

    virtual void first() = 0;
    virtual void next() = 0;
    virtual void prior() = 0;
    [[nodiscard]] virtual bool endOfData() = 0;
    // The value of a field of the current row, looked up by name.
    [[nodiscard]] virtual Variant value(std::string_view fieldName) = 0;
    [[nodiscard]] virtual std::vector<std::string> fieldNames() const = 0;

private:
    friend class DatasetList;
    std::string componentName_;
    std::string userName_;
    std::vector<DatasetList*> memberships_; // one entry per list entry that holds this dataset
};

// A dataset whose rows come from handlers the owner sets. Each operation raises its handler:
// first(), next(), prior() the navigation handlers; endOfData() starts from false, lets
// onCheckEndOfData change it and returns what it leaves (with no handler there is no data:
// true, so that nothing walks an unconfigured dataset forever); value() starts from Null, lets
// onGetValue change it and returns what it leaves.
class UserDataset : public Dataset {
public:
    using NavigationHandler = std::function<void(UserDataset&)>;
    using EndOfDataHandler = std::function<void(UserDataset&, bool& endOfData)>;
    using ValueHandler = std::function<void(UserDataset&, std::string_view fieldName, Variant& value)>;

    using Dataset::Dataset;

    NavigationHandler onFirst;
    NavigationHandler onNext;
    NavigationHandler onPrior;
    EndOfDataHandler onCheckEndOfData;
    ValueHandler onGetValue;

    // The field names the report and the designer offer.
    [[nodiscard]] std::vector<std::string>& fields() { return fields_; }
    [[nodiscard]] const std::vector<std::string>& fields() const { return fields_; }

    void first() override;
    void next() override;
    void prior() override;
    [[nodiscard]] bool endOfData() override;
    [[nodiscard]] Variant value(std::string_view fieldName) override;
    [[nodiscard]] std::vector<std::string> fieldNames() const override { return fields_; }

private:
    std::vector<std::string> fields_;
};

} // namespace velkaro::report
