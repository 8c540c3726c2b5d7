#include "app/TForm1.h"
#include "data/QueryCounter.h"
#include "job/CommandUrl.h"
#include "job/JobTitle.h"

#include "base/AsciiCase.h"

#include <QCoreApplication>

void TForm1::RunReportJob() {
    jobStarted_ = true;
    // The splash is painted at its final place before the blocking work starts.
    QCoreApplication::processEvents();

    // The report finds datasets only in its own lists, which the data binding fills.
    frxReport1.setDatasetScope(velkaro::report::DatasetScope::ReportLists);
    QueryCounter = 0;

    const std::string& commandUrl = environment_.commandUrl;
    const TCommandOptions options = ParseCommandUrl(commandUrl, *environment_.printers);
    (void)options;

    std::string jobUrl = commandUrl;
    if (const size_t scheme = jobUrl.find("qlx3:"); scheme != std::string::npos)
        jobUrl.replace(scheme, 5, "http:");

    setApplicationTitle(QString::fromStdString(JobTitle(TemplateParamF)));

    if (velkaro::trimControls(jobUrl).empty()) {
        Timer1->start();
        return;
    }
    // The template download and the modes arrive with the job driver; until then a job ends here.
    Timer1->start();
}
