#include "report/model/Dataset.h"

#include "base/AsciiCase.h"
#include "base/Error.h"
#include "report/model/DatasetList.h"

#include <algorithm>

namespace velkaro::report {

Dataset::Dataset(std::string componentName, DatasetList* applicationDatasets)
    : componentName_(std::move(componentName)), userName_(componentName_) {
    if (applicationDatasets)
        applicationDatasets->add(*this);
}

Dataset::~Dataset() {
    std::vector<DatasetList*> lists = std::move(memberships_);
    memberships_.clear();
    for (DatasetList* list : lists)
        list->forgetDestroyed(*this);
}

void Dataset::setComponentName(std::string name) {
    if (userName_.empty() || userName_ == componentName_)
        userName_ = name;
    componentName_ = std::move(name);
}

void Dataset::setUserName(std::string name) {
    if (trimControls(name).empty())
        throw Error("Valor no válido");
    userName_ = std::move(name);
}

void UserDataset::first() {
    if (onFirst)
        onFirst(*this);
}

void UserDataset::next() {
    if (onNext)
        onNext(*this);
}

void UserDataset::prior() {
    if (onPrior)
        onPrior(*this);
}

bool UserDataset::endOfData() {
    if (!onCheckEndOfData)
        return true;
    bool endOfData = false;
    onCheckEndOfData(*this, endOfData);
    return endOfData;
}

Variant UserDataset::value(std::string_view fieldName) {
    Variant value;
    if (onGetValue)
        onGetValue(*this, fieldName, value);
    return value;
}

// --- DatasetList ---

DatasetList::~DatasetList() {
    for (DatasetEntry& entry : entries_) {
        if (entry.dataset)
            unlink(entry.dataset);
    }
}

DatasetList::DatasetList(const DatasetList& other) : entries_(other.entries_) {
    for (DatasetEntry& entry : entries_) {
        if (entry.dataset)
            link(entry.dataset);
    }
}

DatasetList& DatasetList::operator=(const DatasetList& other) {
    if (this != &other) {
        DatasetList copy(other);
        *this = std::move(copy);
    }
    return *this;
}

DatasetList::DatasetList(DatasetList&& other) noexcept : entries_(std::move(other.entries_)) {
    other.entries_.clear();
    for (DatasetEntry& entry : entries_) {
        if (entry.dataset)
            std::replace(entry.dataset->memberships_.begin(), entry.dataset->memberships_.end(), &other,
                         this);
    }
}

DatasetList& DatasetList::operator=(DatasetList&& other) noexcept {
    if (this == &other)
        return *this;
    clear();
    entries_ = std::move(other.entries_);
    other.entries_.clear();
    for (DatasetEntry& entry : entries_) {
        if (entry.dataset)
            std::replace(entry.dataset->memberships_.begin(), entry.dataset->memberships_.end(), &other,
                         this);
    }
    return *this;
}

void DatasetList::link(Dataset* dataset) {
    dataset->memberships_.push_back(this);
}

void DatasetList::unlink(Dataset* dataset) {
    auto& lists = dataset->memberships_;
    auto it = std::find(lists.begin(), lists.end(), this);
    if (it != lists.end())
        lists.erase(it);
}

void DatasetList::forgetDestroyed(const Dataset& dataset) {
    std::erase_if(entries_, [&](const DatasetEntry& entry) { return entry.dataset == &dataset; });
}

void DatasetList::add(Dataset& dataset) {
    DatasetEntry entry;
    entry.dataset = &dataset;
    add(std::move(entry));
}

void DatasetList::add(DatasetEntry entry) {
    if (entry.dataset)
        link(entry.dataset);
    entries_.push_back(std::move(entry));
}

void DatasetList::remove(const Dataset& dataset) {
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->dataset == &dataset) {
            unlink(it->dataset);
            it = entries_.erase(it);
        } else {
            ++it;
        }
    }
}

void DatasetList::clear() {
    for (DatasetEntry& entry : entries_) {
        if (entry.dataset)
            unlink(entry.dataset);
    }
    entries_.clear();
}

bool DatasetList::contains(const Dataset& dataset) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const DatasetEntry& e) { return e.dataset == &dataset; });
}

const DatasetEntry* DatasetList::findEntry(std::string_view userName) const {
    for (const DatasetEntry& entry : entries_) {
        if (equalsIgnoreAsciiCase(entry.userName(), userName))
            return &entry;
    }
    return nullptr;
}

Dataset* DatasetList::find(std::string_view userName) const {
    const DatasetEntry* entry = findEntry(userName);
    return entry ? entry->dataset : nullptr;
}

void DatasetList::bindFrom(const DatasetList& available) {
    for (DatasetEntry& entry : entries_) {
        if (entry.dataset)
            continue;
        Dataset* match = nullptr;
        if (!entry.componentName.empty()) {
            for (const DatasetEntry& candidate : available) {
                if (candidate.dataset &&
                    equalsIgnoreAsciiCase(candidate.dataset->componentName(), entry.componentName)) {
                    match = candidate.dataset;
                    break;
                }
            }
        }
        if (!match && !entry.storedUserName.empty())
            match = available.find(entry.storedUserName);
        if (match) {
            entry.dataset = match;
            link(match);
        }
    }
}

} // namespace velkaro::report
