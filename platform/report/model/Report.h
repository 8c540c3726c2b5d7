#pragma once

#include "base/CodePage.h"
#include "report/model/Component.h"
#include "report/model/DatasetList.h"
#include "report/model/LoadError.h"
#include "report/model/MessageSink.h"
#include "report/model/ReportOptions.h"
#include "report/model/VariableList.h"

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro::report {

// Where bands and the designer find datasets: in the application-wide list (then the offered
// list), or only in the report's own lists.
enum class DatasetScope { Application, ReportLists };

// What the designer's preview keeps to put the report back as it was.
struct ReportSnapshot {
    std::unique_ptr<Component> root;
    VariableList variables;
    DatasetList usedDatasets;
};

// The report component: the template tree (its root is the TfrxReport element, whose attributes
// hold the option groups), the variable list, the used-dataset list (the template's Datasets)
// and the offered-dataset list, and the sink for its messages.
//
// Settings that belong to the component and not to a template: every EngineOptions setting
// except ConvertNulls, IgnoreDevByZero and DoublePass; every PreviewOptions setting except
// OutlineVisible, OutlineWidth, OutlineExpand, PagesInCache and ThumbnailVisible; IniFile,
// OldStyleProgress, ShowProgress and StoreInDFM. A load keeps them whatever the template says;
// everything else (pages, objects, variables, used datasets, styles, script, PrintOptions,
// ReportOptions, the excepted options) is the template's.
//
// Version is always "5.3.16": whatever is read or assigned, that is what the report holds and
// saves.
class Report {
public:
    static constexpr std::string_view kVersion = "5.3.16";

    explicit Report(ApplicationDatasets* applicationDatasets = nullptr, CodePage codePage = userCodePage());
    ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    // --- the template ---
    [[nodiscard]] Component& root() { return *root_; }
    [[nodiscard]] const Component& root() const { return *root_; }
    [[nodiscard]] std::string_view version() const { return kVersion; }
    void setVersion(std::string_view) {} // the component keeps its own version

    // Empties the report: pages, objects, used datasets, variables, styles, script and the
    // template's options; the component's own settings stay.
    void reset();
    // Resets, then reads the template. Problems are collected (loadErrors()) and reported as ONE
    // message captioned "Error", text "Ha ocurrido el siguiente error:", a line break and one
    // line per problem (in silent mode only collected; in rethrow mode thrown as
    // velkaro::Error with that text). The report keeps what could be read. True without problems.
    bool load(std::string_view bytes);
    bool load(std::istream& stream);
    [[nodiscard]] const std::vector<LoadError>& loadErrors() const { return loadErrors_; }
    // fr3 text of the report: tree, then the dataset and variable lists as <Datasets> and
    // <Variables>, Version "5.3.16". The component's current option values are what is written.
    [[nodiscard]] std::string save() const;
    void save(std::ostream& stream) const;

    [[nodiscard]] ReportSnapshot snapshot() const;
    void restore(const ReportSnapshot& snapshot);

    // --- variables and datasets ---
    [[nodiscard]] VariableList& variables() { return variables_; }
    [[nodiscard]] const VariableList& variables() const { return variables_; }
    [[nodiscard]] DatasetList& usedDatasets() { return usedDatasets_; }
    [[nodiscard]] const DatasetList& usedDatasets() const { return usedDatasets_; }
    [[nodiscard]] DatasetList& offeredDatasets() { return offeredDatasets_; }
    [[nodiscard]] const DatasetList& offeredDatasets() const { return offeredDatasets_; }
    void setApplicationDatasets(ApplicationDatasets* datasets) { applicationDatasets_ = datasets; }
    [[nodiscard]] DatasetScope datasetScope() const { return datasetScope_; }
    // Not stored in templates; a load leaves it as it is.
    void setDatasetScope(DatasetScope scope) { datasetScope_ = scope; }
    // The dataset a report expression names: from the used-dataset list.
    [[nodiscard]] Dataset* findUsedDataset(std::string_view userName) const;
    // The dataset a band names, and what the designer offers: with DatasetScope::Application the
    // application-wide list first, then the offered list; with ReportLists the offered list only.
    [[nodiscard]] Dataset* findAvailableDataset(std::string_view userName) const;
    [[nodiscard]] std::vector<Dataset*> availableDatasets() const;

    // --- options (see ReportOptions.h) ---
    [[nodiscard]] EngineOptions engineOptions() const { return readEngineOptions(*root_); }
    void setEngineOptions(const EngineOptions& options) { writeEngineOptions(*root_, options); }
    [[nodiscard]] PreviewOptions previewOptions() const { return readPreviewOptions(*root_); }
    void setPreviewOptions(const PreviewOptions& options) { writePreviewOptions(*root_, options); }
    [[nodiscard]] PrintOptions printOptions() const { return readPrintOptions(*root_); }
    void setPrintOptions(const PrintOptions& options) { writePrintOptions(*root_, options); }
    [[nodiscard]] ReportInformation information() const { return readReportInformation(*root_); }
    void setInformation(const ReportInformation& information) { writeReportInformation(*root_, information); }
    [[nodiscard]] std::string_view iniFile() const { return root_->attribute("IniFile"); }
    void setIniFile(std::string value) { root_->setAttribute("IniFile", std::move(value)); }
    [[nodiscard]] std::string_view scriptLanguage() const {
        return root_->attribute("ScriptLanguage", "PascalScript");
    }
    void setScriptLanguage(std::string value) { root_->setAttribute("ScriptLanguage", std::move(value)); }
    // Lines separated by CR LF.
    [[nodiscard]] std::string_view scriptText() const { return root_->attribute("ScriptText.Text"); }
    void setScriptText(std::string value) { root_->setAttribute("ScriptText.Text", std::move(value)); }

    // The report's file name (not part of a template).
    [[nodiscard]] const std::string& fileName() const { return fileName_; }
    void setFileName(std::string name) { fileName_ = std::move(name); }

    // --- messages ---
    // The sink is not owned; nullptr goes back to the report's own collecting sink.
    void setMessageSink(MessageSink* sink) { sink_ = sink ? sink : &ownSink_; }
    [[nodiscard]] MessageSink& messageSink() { return *sink_; }

private:
    [[nodiscard]] std::vector<Attribute> componentSettings() const;
    void applyComponentSettings(std::vector<Attribute> settings);
    void takeListsFromTree();
    void reportLoadErrors();

    CodePage codePage_;
    std::unique_ptr<Component> root_;
    VariableList variables_;
    DatasetList usedDatasets_;
    DatasetList offeredDatasets_;
    ApplicationDatasets* applicationDatasets_ = nullptr;
    DatasetScope datasetScope_ = DatasetScope::Application;
    std::vector<LoadError> loadErrors_;
    std::string fileName_;
    CollectingMessageSink ownSink_;
    MessageSink* sink_ = &ownSink_;
};

} // namespace velkaro::report
