#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "report/model/DatasetList.h"
#include "report/model/Report.h"

#include <functional>
#include <memory>
#include <string>

class PrinterList;

// The program's one form: the small half-transparent splash that slides into the bottom-right
// corner of the primary screen, and the owner of every component of the run. Its lifetime is the
// program's lifetime: Timer1's first tick closes it and so ends the program.
class TForm1 final : public QWidget {
    Q_OBJECT

public:
    // What the form takes from its surroundings; tests give their own.
    struct Environment {
        std::string commandUrl;            // the program's first argument, or empty
        std::function<QSize()> screenSize; // full size of the primary screen, in pixels
        std::shared_ptr<const PrinterList> printers;
        std::function<void(const QString& caption, const QString& text)> showMessage; // modal, OK only
    };

    // The platform's defaults: Qt's primary screen, the system's printers, QMessageBox.
    static Environment systemEnvironment(std::string commandUrl);

    explicit TForm1(Environment environment);
    ~TForm1() override;
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    QTimer* tmrShow;
    QTimer* Timer1;
    QTimer* Timer2;

    // Every dataset component of the program; the report looks here only while its dataset
    // lookup is application-wide (the job switches that off).
    velkaro::report::ApplicationDatasets applicationDatasets;
    velkaro::report::Report frxReport1{&applicationDatasets};

    // The application title: the taskbar text (the window's title) and the message boxes' caption.
    [[nodiscard]] const QString& applicationTitle() const { return applicationTitle_; }
    void setApplicationTitle(const QString& title);

    // Plain message box, captioned with the application title.
    void ShowPlainMessage(const QString& text);

    [[nodiscard]] bool jobStarted() const { return jobStarted_; }

public slots:
    void tmrShowTimer();
    void Timer1Timer();
    void Timer2Timer();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void FormCreate();
    void RunReportJob();

    Environment environment_;
    QPixmap Image1;
    QString applicationTitle_;
    bool jobStarted_ = false;
};
