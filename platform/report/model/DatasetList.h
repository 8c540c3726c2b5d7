#pragma once

#include "report/model/Component.h"
#include "report/model/Dataset.h"

#include <string>
#include <string_view>
#include <vector>

namespace velkaro::report {

// One entry of a dataset list: a dataset, or (read from a template and not bound to one) the
// names the template gave.
struct DatasetEntry {
    Dataset* dataset = nullptr;             // not owned; null when unbound
    std::string componentName;              // the template's DataSet, for an unbound entry
    std::string storedUserName;             // the template's DataSetName, for an unbound entry
    std::vector<Attribute> otherAttributes; // whatever else the template's item carried

    [[nodiscard]] std::string_view userName() const { return dataset ? dataset->userName() : storedUserName; }
    [[nodiscard]] std::string_view datasetComponentName() const {
        return dataset ? dataset->componentName() : componentName;
    }
};

// An ordered list of datasets, looked up by user name with only a to z folded; the first match
// wins. The list does not own its datasets; a dataset that is destroyed leaves the lists that
// hold it. Copies hold the same datasets.
class DatasetList {
public:
    DatasetList() = default;
    ~DatasetList();
    DatasetList(const DatasetList& other);
    DatasetList& operator=(const DatasetList& other);
    DatasetList(DatasetList&& other) noexcept;
    DatasetList& operator=(DatasetList&& other) noexcept;

    [[nodiscard]] size_t size() const { return entries_.size(); }
    [[nodiscard]] bool empty() const { return entries_.empty(); }
    [[nodiscard]] const DatasetEntry& operator[](size_t index) const { return entries_[index]; }
    [[nodiscard]] auto begin() const { return entries_.begin(); }
    [[nodiscard]] auto end() const { return entries_.end(); }

    void add(Dataset& dataset);
    void add(DatasetEntry entry);
    // Removes every entry that holds the dataset.
    void remove(const Dataset& dataset);
    void clear();
    [[nodiscard]] bool contains(const Dataset& dataset) const;

    [[nodiscard]] const DatasetEntry* findEntry(std::string_view userName) const;
    // The dataset of the first entry of that user name (null when none, or when it is unbound).
    [[nodiscard]] Dataset* find(std::string_view userName) const;
    // Binds unbound entries to datasets of the other list: by component name, else by user name.
    void bindFrom(const DatasetList& available);

private:
    friend class Dataset;
    void link(Dataset* dataset);
    void unlink(Dataset* dataset);
    void forgetDestroyed(const Dataset& dataset);

    std::vector<DatasetEntry> entries_;
};

// The application-wide list of all datasets: an object the application owns and passes to the
// datasets it creates and to the reports that may look datasets up there.
class ApplicationDatasets final : public DatasetList {};

} // namespace velkaro::report
